#include "scenario.h"

bool Scenario::HasCivicAddress() const {
    for (const auto& field : civic)
        if (field) return true;
    return false;
}

const SensorDefinition* Scenario::LocationProvider(LOCATION_DESIRED_ACCURACY accuracy) const {
    const ProviderChoice& choice = accuracy == LOCATION_DESIRED_ACCURACY_HIGH ? highProvider : defaultProvider;
    switch (choice.kind) {
        case ProviderChoice::Kind::None:
            return nullptr;
        case ProviderChoice::Kind::Sensor:
            return choice.sensorIndex < sensors.size() ? &sensors[choice.sensorIndex] : nullptr;
        case ProviderChoice::Kind::FirstWithFix:
            break;
    }
    for (std::size_t i = choice.sensorIndex; i < sensors.size(); ++i)
        if (const SensorDefinition& sensor = sensors[i]; sensor.present && sensor.state == SENSOR_STATE_READY && sensor.HasPosition()) return &sensor;
    return nullptr;
}
