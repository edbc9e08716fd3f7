#include "gpsd_receiver.h"

#include <sensors.h>

#include "name_uuid.h"
#include "scenario_text.h"

SensorDefinition GpsdReceiver::AsSensor() const {
    SensorDefinition sensor;
    sensor.id = NameUuidInUrlNamespace("gpsd:" + path);
    const std::string name = driver.empty() ? path : driver + " " + path;
    sensor.name = WideFromUtf8(name).value_or(std::wstring(name.begin(), name.end()));
    sensor.type = SENSOR_TYPE_LOCATION_GPS;
    sensor.category = SENSOR_CATEGORY_LOCATION;
    sensor.state = mode >= 2 ? SENSOR_STATE_READY : SENSOR_STATE_INITIALIZING;
    sensor.values[SensorDefinition::Index(SensorValue::Latitude)] = latitude;
    sensor.values[SensorDefinition::Index(SensorValue::Longitude)] = longitude;
    sensor.values[SensorDefinition::Index(SensorValue::Altitude)] = altitude;
    sensor.values[SensorDefinition::Index(SensorValue::ErrorRadius)] = errorRadius;
    if (satellitesUsed) sensor.values[SensorDefinition::Index(SensorValue::SatellitesUsed)] = *satellitesUsed;
    if (satellitesInView)
        sensor.values[SensorDefinition::Index(SensorValue::SatellitesInView)] = *satellitesInView;
    return sensor;
}
