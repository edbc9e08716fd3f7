#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The values a simulated sensor can report, in the order of kSensorValueFields.
enum class SensorValue { Latitude, Longitude, Altitude, ErrorRadius, SatellitesUsed, SatellitesInView };
constexpr std::size_t kSensorValueCount = 6;

// The operations a scenario can make fail.
enum class SensorOperation { Fetch, Id, Name, Type, Category, State, Data };
constexpr std::size_t kSensorOperationCount = 7;

// One [sensorN] section.
struct SensorDefinition {
    GUID id{};
    std::wstring name;
    GUID type{};
    GUID category{};
    long state = SENSOR_STATE_READY;
    bool present = true;
    // Integer values are held as doubles too; every 32-bit integer fits.
    std::array<std::optional<double>, kSensorValueCount> values;
    std::bitset<kSensorValueCount> wrongType;
    std::bitset<kSensorOperationCount> failing;

    const std::optional<double>& Value(SensorValue value) const { return values[Index(value)]; }
    bool HasWrongType(SensorValue value) const { return wrongType[Index(value)]; }
    bool Fails(SensorOperation operation) const { return failing[static_cast<std::size_t>(operation)]; }
    bool HasPosition() const { return Value(SensorValue::Latitude) && Value(SensorValue::Longitude); }
    // Whether a data report of this sensor reads the same as one of `other`.
    bool SameReport(const SensorDefinition& other) const {
        return values == other.values && wrongType == other.wrongType;
    }

    static std::size_t Index(SensorValue value) { return static_cast<std::size_t>(value); }
};

// Which sensor's position a Location API report carries.
struct ProviderChoice {
    enum class Kind { FirstWithFix, None, Sensor };
    Kind kind = Kind::FirstWithFix;
    // Into Scenario::sensors: the sensor, or for FirstWithFix the first one considered.
    std::size_t sensorIndex = 0;
};

// The fields of the civic address report, in the order of kCivicAddressFields.
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

    bool HasCivicAddress() const;
    // The sensor whose position the report at this accuracy carries, or null
    // when there is no report.
    const SensorDefinition* LocationProvider(LOCATION_DESIRED_ACCURACY accuracy) const;
};
