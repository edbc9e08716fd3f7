#pragma once

#include <optional>
#include <string>

#include "sensor_definition.h"

// What gpsd last said about one receiver.
struct GpsdReceiver {
    std::string path;
    std::string driver;
    int mode = 0;  // of the latest TPV report: 0 unknown, 1 no fix, 2 2D, 3 3D
    std::optional<double> latitude, longitude, altitude, errorRadius;
    std::optional<int> satellitesUsed, satellitesInView;

    // As a location sensor: the id is derived from the path, so it stays
    // the same from run to run.
    SensorDefinition AsSensor() const;
};
