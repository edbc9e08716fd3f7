#pragma once

#include <memory>
#include <vector>

#include "gpsd_feed.h"
#include "scenario.h"

// The scenario with its gpsd's receivers after its own sensors. Unless
// [location] names a sensor (or none), both accuracies serve the first
// ready receiver of gpsd.
Scenario WithGpsdReceivers(Scenario scenario, const std::vector<SensorDefinition>& receivers);

// The process's feed of the scenario's gpsd (started if need be), or null
// when it names none.
std::shared_ptr<GpsdFeed> WatchGpsd(const Scenario& scenario);
