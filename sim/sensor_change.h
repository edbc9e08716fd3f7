#pragma once

#include <vector>

#include "scenario.h"

// The notifications a real platform gives for one sensor whose description
// went from `before` (null: the sensor was not known) to `after`, in order.
enum class SensorEvent { Enter, Leave, StateChanged, DataUpdated };

std::vector<SensorEvent> EventsForChange(const SensorDefinition* before, const SensorDefinition& after);
