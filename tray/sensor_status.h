// One status of a sensor as the sink reads it: what the tooltip shows plus
// the report's values it does not. 0 (absent for the extras) where a value
// could not be read.
#pragma once

#include <afxwin.h>

#include <optional>

// Values of a sensor's latest report beyond those the tray shows.
struct ReportExtras {
    std::optional<double> altitude;
    std::optional<double> errorRadius;
};

struct SensorStatus {
    CString name;
    long state = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    int satellitesUsed = 0;
    int satellitesInView = 0;
    ReportExtras extras;
};
