#include "scenario_keys.h"

#include <sensors.h>

const LocationTypeKey kLocationTypeKeys[6] = {
    {"broadcast", &SENSOR_TYPE_LOCATION_BROADCAST}, {"dead_reckoning", &SENSOR_TYPE_LOCATION_DEAD_RECKONING},
    {"gps", &SENSOR_TYPE_LOCATION_GPS},             {"lookup", &SENSOR_TYPE_LOCATION_LOOKUP},
    {"other", &SENSOR_TYPE_LOCATION_OTHER},         {"triangulation", &SENSOR_TYPE_LOCATION_TRIANGULATION},
};

const SensorValueField kSensorValueFields[kSensorValueCount] = {
    {"latitude", &SENSOR_DATA_TYPE_LATITUDE_DEGREES, false},
    {"longitude", &SENSOR_DATA_TYPE_LONGITUDE_DEGREES, false},
    {"altitude", &SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS, false},
    {"error_radius", &SENSOR_DATA_TYPE_ERROR_RADIUS_METERS, false},
    {"satellites_used", &SENSOR_DATA_TYPE_SATELLITES_USED_COUNT, true},
    {"satellites_in_view", &SENSOR_DATA_TYPE_SATELLITES_IN_VIEW, true},
};

const char* const kSensorOperationKeys[kSensorOperationCount] = {"fetch",    "id",    "name", "type",
                                                                 "category", "state", "data"};

const char* const kCivicFieldKeys[kCivicFieldCount] = {"postal_code", "state_province", "city", "address_line1",
                                                       "address_line2"};

const SensorValueField* FindSensorValueField(REFPROPERTYKEY key, SensorValue* value) {
    for (std::size_t i = 0; i < kSensorValueCount; ++i) {
        if (IsEqualPropertyKey(key, *kSensorValueFields[i].property)) {
            if (value != nullptr) *value = static_cast<SensorValue>(i);
            return &kSensorValueFields[i];
        }
    }
    return nullptr;
}
