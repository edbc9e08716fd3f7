#include "gpsd_scenario.h"

Scenario WithGpsdReceivers(Scenario scenario, const std::vector<SensorDefinition>& receivers) {
    if (!scenario.gpsdServer) return scenario;
    const std::size_t firstReceiver = scenario.sensors.size();
    for (ProviderChoice* choice : {&scenario.defaultProvider, &scenario.highProvider})
        if (choice->kind == ProviderChoice::Kind::FirstWithFix) choice->sensorIndex = firstReceiver;
    scenario.sensors.insert(scenario.sensors.end(), receivers.begin(), receivers.end());
    return scenario;
}

std::shared_ptr<GpsdFeed> WatchGpsd(const Scenario& scenario) {
    if (!scenario.gpsdServer) return nullptr;
    return GpsdFeed::Watch(*scenario.gpsdServer, scenario.gpsdStaleSeconds);
}
