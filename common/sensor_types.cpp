#include "sensor_types.h"

#include <sensors.h>

const LocationSensorType kLocationSensorTypes[6] = {
    {&SENSOR_TYPE_LOCATION_BROADCAST, L"SENSOR_TYPE_LOCATION_BROADCAST"},
    {&SENSOR_TYPE_LOCATION_DEAD_RECKONING, L"SENSOR_TYPE_LOCATION_DEAD_RECKONING"},
    {&SENSOR_TYPE_LOCATION_GPS, L"SENSOR_TYPE_LOCATION_GPS"},
    {&SENSOR_TYPE_LOCATION_LOOKUP, L"SENSOR_TYPE_LOCATION_LOOKUP"},
    {&SENSOR_TYPE_LOCATION_OTHER, L"SENSOR_TYPE_LOCATION_OTHER"},
    {&SENSOR_TYPE_LOCATION_TRIANGULATION, L"SENSOR_TYPE_LOCATION_TRIANGULATION"},
};

const LocationSensorType* FindLocationSensorType(REFGUID id) {
    for (const auto& type : kLocationSensorTypes)
        if (IsEqualGUID(*type.id, id)) return &type;
    return nullptr;
}
