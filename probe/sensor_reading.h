#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <optional>
#include <string>
#include <vector>

#include "friendly_name.h"

// A friendly name; none when it could not be read.
using SensorName = std::optional<std::wstring>;

// One value of a data report that the report shows: a double returned as VT_R8.
struct ReportValue {
    const char* key;       // the Sensor API's name of the value
    const wchar_t* field;  // the same, wide
    const wchar_t* line;   // the report's line for it, "%f" for the value
    double value;
};

// What the report shows of one location sensor, as the platform gave it.
struct SensorReading {
    std::optional<GUID> id;
    SensorName name;
    std::optional<const wchar_t*> type;  // the type's name, "err" for another type
    std::optional<long> state;
    // Read only when the state was: the latest data report's values, none
    // when there is no report.
    std::optional<std::vector<ReportValue>> values;
};

std::optional<GUID> ReadSensorId(ISensor* sensor);
// Latitude, longitude, altitude and error radius, those returned as VT_R8.
std::vector<ReportValue> ReadReportValues(ISensorDataReport* report);
SensorReading ReadSensor(ISensor* sensor);
// Every location sensor the manager can fetch, in its order; none when the
// manager is null or has no location sensor.
std::vector<SensorReading> ReadLocationSensors(ISensorManager* manager);

// The position the map link shows: latitude and longitude both read and
// both non-zero.
struct MapPosition {
    double latitude;
    double longitude;
};
std::optional<MapPosition> FindMapPosition(const std::vector<ReportValue>& values);
// A sensor that is ready and has a position.
bool ReadyWithPosition(const SensorReading& reading);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::wstring GuidText(REFGUID id);
