#pragma once

#include <windows.h>
#include <locationapi.h>
#include <sensorsapi.h>

#include <optional>
#include <string>
#include <vector>

#include "sensor_reading.h"

// One known field of a civic address: read and not empty.
struct CivicLine {
    const char* key;      // the field's name in JSON
    const wchar_t* line;  // the report's line for it, "%s" for the text
    std::wstring text;
};

// The Location API's current report at one desired accuracy.
struct AccuracyReading {
    bool hasReport = false;
    // Present when the report's sensor was found through the sensor manager.
    std::optional<SensorName> provider;
    bool hasLatLong = false;  // the report offers latitude and longitude
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::vector<CivicLine> address;
};

struct LocationReading {
    bool created = false;  // the Location object could be created
    std::optional<LOCATION_REPORT_STATUS> status;  // of the latitude/longitude report
    // Read only when the latitude/longitude report is supported.
    std::optional<AccuracyReading> atDefault;
    std::optional<AccuracyReading> atHigh;

    bool Supported() const { return status && *status != REPORT_NOT_SUPPORTED; }
};

// Asks the Location API at default and then at high accuracy, naming each
// providing sensor through the manager (which may be null).
LocationReading ReadLocation(ISensorManager* manager);

// The platform's name of a report status; null for another value.
const char* ReportStatusName(LOCATION_REPORT_STATUS status);
