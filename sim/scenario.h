#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sensor_definition.h"

// Which sensor's position a Location API report carries.
struct ProviderChoice {
    enum class Kind { FirstWithFix, None, Sensor };
    Kind kind = Kind::FirstWithFix;
    // Into Scenario::sensors: the sensor, or for FirstWithFix the first one considered.
    std::size_t sensorIndex = 0;
};

// The fields of the civic address report, in the order of kCivicFieldKeys.
enum class CivicField { PostalCode, StateProvince, City, AddressLine1, AddressLine2 };
constexpr std::size_t kCivicFieldCount = 5;

struct Scenario {
    bool sensorApi = true;
    bool locationApi = true;
    bool latLongSupported = true;
    std::vector<SensorDefinition> sensors;  // in enumeration order, present or not
    ProviderChoice defaultProvider;
    ProviderChoice highProvider;
    std::array<std::optional<std::wstring>, kCivicFieldCount> civic;
    // host:port of the gpsd whose receivers join the sensors, when there is a [gpsd] section.
    std::optional<std::string> gpsdServer;
    // How long a gpsd receiver may go without a TPV report before it has no data.
    int gpsdStaleSeconds = 5;

    bool HasCivicAddress() const;
    // The sensor whose position the report at this accuracy carries, or null
    // when there is no report.
    const SensorDefinition* LocationProvider(LOCATION_DESIRED_ACCURACY accuracy) const;
};
