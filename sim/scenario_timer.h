#pragma once

#include <windows.h>

class CSimSensorManager;

// How often a sensor manager looks at its scenario file: every 100 ms, or
// as often as SENSORSIM_CHECK_MS says (1 to 60000), for benchmarks that edit
// the file in quick succession.
UINT ScenarioCheckMilliseconds();

// A thread timer on the calling thread that has `manager` check its scenario
// each time the thread's message loop dispatches it. Returns 0 when no
// timer could be set.
UINT_PTR StartScenarioTimer(CSimSensorManager* manager);
void StopScenarioTimer(UINT_PTR timer);
