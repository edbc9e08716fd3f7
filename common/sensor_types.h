#pragma once

#include <windows.h>

// The six location sensor types, by Sensor API type id.
struct LocationSensorType {
    const GUID* id;
    const wchar_t* name;  // the platform's name of the type
};

extern const LocationSensorType kLocationSensorTypes[6];

// The type with this id, or null when it is none of the six.
const LocationSensorType* FindLocationSensorType(REFGUID id);
