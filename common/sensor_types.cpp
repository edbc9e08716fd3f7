#include "sensor_types.h"

#include <sensors.h>

const LocationSensorType kLocationSensorTypes[6] = {
    {&SENSOR_TYPE_LOCATION_BROADCAST, "broadcast", L"SENSOR_TYPE_LOCATION_BROADCAST"},
    {&SENSOR_TYPE_LOCATION_DEAD_RECKONING, "dead_reckoning", L"SENSOR_TYPE_LOCATION_DEAD_RECKONING"},
    {&SENSOR_TYPE_LOCATION_GPS, "gps", L"SENSOR_TYPE_LOCATION_GPS"},
    {&SENSOR_TYPE_LOCATION_LOOKUP, "lookup", L"SENSOR_TYPE_LOCATION_LOOKUP"},
    {&SENSOR_TYPE_LOCATION_OTHER, "other", L"SENSOR_TYPE_LOCATION_OTHER"},
    {&SENSOR_TYPE_LOCATION_TRIANGULATION, "triangulation", L"SENSOR_TYPE_LOCATION_TRIANGULATION"},
};

const LocationSensorType* FindLocationSensorType(REFGUID id) {
    for (const auto& type : kLocationSensorTypes)
        if (IsEqualGUID(*type.id, id)) return &type;
    return nullptr;
}
