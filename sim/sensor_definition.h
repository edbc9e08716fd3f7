#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <array>
#include <bitset>
#include <cstddef>
#include <optional>
#include <string>

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
    // A receiver of gpsd: forgotten once it has left.
    bool fromGpsd = false;
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
