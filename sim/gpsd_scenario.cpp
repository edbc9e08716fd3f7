#include "gpsd_scenario.h"

Scenario WithGpsdReceivers(Scenario scenario, const std::vector<SensorDefinition>& receivers) {
    if (!scenario.gpsdServer) return scenario;
    const std::size_t firstReceiver = scenario.sensors.size();
    for (ProviderChoice* choice : {&scenario.defaultProvider, &scenario.highProvider})
        if (choice->kind == ProviderChoice::Kind::FirstWithFix) choice->sensorIndex = firstReceiver;
    scenario.sensors.insert(scenario.sensors.end(), receivers.begin(), receivers.end());
    return scenario;
}

std::unique_ptr<GpsdSource> StartGpsdSource(const Scenario& scenario) {
    if (!scenario.gpsdServer) return nullptr;
    auto source = std::make_unique<GpsdSource>(*scenario.gpsdServer);
    source->Start();
    return source;
}
