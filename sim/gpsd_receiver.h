#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "sensor_definition.h"

// What gpsd last said about one receiver, each value within its sane range
// or absent.
struct GpsdReceiver {
    using Clock = std::chrono::steady_clock;

    // The id is derived from the path, so it stays the same from run to run.
    explicit GpsdReceiver(std::string devicePath, Clock::time_point now);

    std::string path;
    GUID id{};
    std::string driver;
    int mode = 0;  // of the latest TPV report: 0 unknown, 1 no fix, 2 2D, 3 3D
    std::optional<double> latitude, longitude, altitude, errorRadius;
    std::optional<int> satellitesUsed, satellitesInView;
    // When the latest TPV report came (or the receiver was first named), and
    // whether that is so long ago that the receiver has no data.
    Clock::time_point heard;
    bool silent = false;

    // A 2D or 3D fix with a position on Earth.
    bool HasFix() const { return mode >= 2 && latitude && longitude; }
    // Its name as users see it: driver and path, control characters as "?".
    std::wstring Name() const;
    SensorDefinition AsSensor(std::wstring name) const;

    // More satellites than all navigation systems have together, with room.
    static constexpr int kMaxSatellites = 255;
};
