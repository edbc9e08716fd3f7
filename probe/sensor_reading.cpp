#include "sensor_reading.h"

#include <objbase.h>
#include <sensors.h>

#include <cwchar>

#include "com_ref.h"
#include "map_url.h"
#include "report_values.h"
#include "sensor_types.h"

namespace {

struct ReportField {
    const PROPERTYKEY* property;
    const char* key;
    const wchar_t* field;
    const wchar_t* line;
};

const ReportField kReportFields[] = {
    {&SENSOR_DATA_TYPE_LATITUDE_DEGREES, "SENSOR_DATA_TYPE_LATITUDE_DEGREES", L"SENSOR_DATA_TYPE_LATITUDE_DEGREES",
     L"SENSOR_DATA_TYPE_LATITUDE_DEGREES : %f\n"},
    {&SENSOR_DATA_TYPE_LONGITUDE_DEGREES, "SENSOR_DATA_TYPE_LONGITUDE_DEGREES", L"SENSOR_DATA_TYPE_LONGITUDE_DEGREES",
     L"SENSOR_DATA_TYPE_LONGITUDE_DEGREES: %f\n"},
    {&SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS, "SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS", L"SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS",
     L"SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS: %f\n"},
    {&SENSOR_DATA_TYPE_ERROR_RADIUS_METERS, "SENSOR_DATA_TYPE_ERROR_RADIUS_METERS", L"SENSOR_DATA_TYPE_ERROR_RADIUS_METERS",
     L"SENSOR_DATA_TYPE_ERROR_RADIUS_METERS: %f\n"},
};

const ReportValue* FindValue(const std::vector<ReportValue>& values, const wchar_t* field) {
    for (const ReportValue& value : values)
        if (std::wcscmp(value.field, field) == 0) return &value;
    return nullptr;
}

}  // namespace

std::optional<GUID> ReadSensorId(ISensor* sensor) {
    SENSOR_ID id;
    if (FAILED(sensor->GetID(&id))) return std::nullopt;
    return id;
}

std::vector<ReportValue> ReadReportValues(ISensorDataReport* report) {
    std::vector<ReportValue> values;
    for (const ReportField& field : kReportFields)
        if (auto value = ReadReportDouble(report, *field.property))
            values.push_back({field.key, field.field, field.line, *value});
    return values;
}

SensorReading ReadSensor(ISensor* sensor) {
    SensorReading reading;
    reading.id = ReadSensorId(sensor);
    reading.name = ReadFriendlyName(sensor);
    SENSOR_TYPE_ID type;
    if (SUCCEEDED(sensor->GetType(&type))) {
        const LocationSensorType* known = FindLocationSensorType(type);
        reading.type = known != nullptr ? known->name : L"err";
    }
    SensorState state;
    if (FAILED(sensor->GetState(&state))) return reading;
    reading.state = state;
    ComRef<ISensorDataReport> report;
    if (SUCCEEDED(sensor->GetData(report.Put())) && report) reading.values = ReadReportValues(report.Get());
    return reading;
}

std::vector<SensorReading> ReadLocationSensors(ISensorManager* manager) {
    std::vector<SensorReading> readings;
    ComRef<ISensorCollection> sensors;
    if (manager == nullptr || FAILED(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, sensors.Put())) ||
        !sensors)
        return readings;
    ULONG count = 0;
    if (FAILED(sensors->GetCount(&count))) count = 0;
    for (ULONG index = 0; index < count; ++index) {
        ComRef<ISensor> sensor;
        if (FAILED(sensors->GetAt(index, sensor.Put())) || !sensor) continue;
        readings.push_back(ReadSensor(sensor.Get()));
    }
    return readings;
}

std::optional<MapPosition> FindMapPosition(const std::vector<ReportValue>& values) {
    const ReportValue* latitude = FindValue(values, kReportFields[0].field);
    const ReportValue* longitude = FindValue(values, kReportFields[1].field);
    if (latitude == nullptr || longitude == nullptr || !HasPosition(latitude->value, longitude->value))
        return std::nullopt;
    return MapPosition{latitude->value, longitude->value};
}

bool ReadyWithPosition(const SensorReading& reading) {
    return reading.state == SENSOR_STATE_READY && reading.values && FindMapPosition(*reading.values);
}

std::wstring GuidText(REFGUID id) {
    wchar_t text[40] = {};
    StringFromGUID2(id, text, 40);
    return text;
}
