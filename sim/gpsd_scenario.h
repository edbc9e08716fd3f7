#pragma once

#include <memory>

#include "gpsd_source.h"
#include "scenario.h"

// The scenario with its gpsd's receivers after its own sensors. Unless
// [location] names a sensor (or none), both accuracies serve the first
// ready receiver of gpsd.
Scenario WithGpsdReceivers(Scenario scenario, const std::vector<SensorDefinition>& receivers);

// A started source for the scenario's gpsd, or null when it names none.
std::unique_ptr<GpsdSource> StartGpsdSource(const Scenario& scenario);
