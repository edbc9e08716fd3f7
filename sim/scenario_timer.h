#pragma once

#include <windows.h>

class CSimSensorManager;

// How often a sensor manager looks at its scenario file.
constexpr UINT kScenarioCheckMilliseconds = 100;

// A thread timer on the calling thread that has `manager` check its scenario
// each time the thread's message loop dispatches it. Returns 0 when no
// timer could be set.
UINT_PTR StartScenarioTimer(CSimSensorManager* manager);
void StopScenarioTimer(UINT_PTR timer);
