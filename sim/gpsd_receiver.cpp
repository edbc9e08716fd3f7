#include "gpsd_receiver.h"

#include <sensors.h>

#include <utility>

#include "name_uuid.h"
#include "scenario_text.h"

GpsdReceiver::GpsdReceiver(std::string devicePath, Clock::time_point now)
    : path(std::move(devicePath)), id(NameUuidInUrlNamespace("gpsd:" + path)), heard(now) {}

std::wstring GpsdReceiver::Name() const {
    std::string name = driver.empty() ? path : driver + " " + path;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return WideFromUtf8(name).value_or(std::wstring(name.begin(), name.end()));
}

SensorDefinition GpsdReceiver::AsSensor(std::wstring name) const {
    SensorDefinition sensor;
    sensor.id = id;
    sensor.name = std::move(name);
    sensor.type = SENSOR_TYPE_LOCATION_GPS;
    sensor.category = SENSOR_CATEGORY_LOCATION;
    sensor.fromGpsd = true;
    if (silent) {
        sensor.state = SENSOR_STATE_NO_DATA;
        return sensor;
    }
    sensor.state = HasFix() ? SENSOR_STATE_READY : SENSOR_STATE_INITIALIZING;
    sensor.values[SensorDefinition::Index(SensorValue::Latitude)] = latitude;
    sensor.values[SensorDefinition::Index(SensorValue::Longitude)] = longitude;
    sensor.values[SensorDefinition::Index(SensorValue::Altitude)] = altitude;
    sensor.values[SensorDefinition::Index(SensorValue::ErrorRadius)] = errorRadius;
    const bool inViewSane = satellitesInView && *satellitesInView <= kMaxSatellites;
    if (inViewSane) sensor.values[SensorDefinition::Index(SensorValue::SatellitesInView)] = *satellitesInView;
    if (satellitesUsed && *satellitesUsed <= (inViewSane ? *satellitesInView : kMaxSatellites))
        sensor.values[SensorDefinition::Index(SensorValue::SatellitesUsed)] = *satellitesUsed;
    return sensor;
}
