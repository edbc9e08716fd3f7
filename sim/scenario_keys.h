#pragma once

#include <windows.h>

#include "scenario.h"

// How scenario files name the location sensor types.
struct LocationTypeKey {
    const char* key;
    const GUID* type;
};
extern const LocationTypeKey kLocationTypeKeys[6];

// How scenario files name the values, operations and civic fields.
struct SensorValueField {
    const char* key;
    const PROPERTYKEY* property;
    bool integer;  // VT_I4 when right, VT_UI4 when wrong; doubles VT_R8 / VT_R4
};
extern const SensorValueField kSensorValueFields[kSensorValueCount];
extern const char* const kSensorOperationKeys[kSensorOperationCount];
extern const char* const kCivicFieldKeys[kCivicFieldCount];

// The value with this data-field key, or null.
const SensorValueField* FindSensorValueField(REFPROPERTYKEY key, SensorValue* value);
