#include "sensor_report.h"

#include <sensors.h>
#include <wide_print.h>

#include "com_ref.h"
#include "map_url.h"
#include "printable_text.h"
#include "report_values.h"
#include "sensor_state.h"
#include "sensor_types.h"

namespace {

void PrintData(ISensorDataReport* report) {
    double latitude = 0.0;
    double longitude = 0.0;
    if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES)) {
        WidePrintf(L"SENSOR_DATA_TYPE_LATITUDE_DEGREES : %f\n", *value);
        latitude = *value;
    }
    if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_LONGITUDE_DEGREES)) {
        WidePrintf(L"SENSOR_DATA_TYPE_LONGITUDE_DEGREES: %f\n", *value);
        longitude = *value;
    }
    if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS))
        WidePrintf(L"SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS: %f\n", *value);
    if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_ERROR_RADIUS_METERS))
        WidePrintf(L"SENSOR_DATA_TYPE_ERROR_RADIUS_METERS: %f\n", *value);
    if (HasPosition(latitude, longitude)) WidePrintf(kMapUrlFormatW, latitude, longitude);
}

void PrintSensor(ISensor* sensor) {
    BSTR name = nullptr;
    const bool named = SUCCEEDED(sensor->GetFriendlyName(&name));
    WidePrintf(L"Location Sensor name: %s\n", PrintableText(named ? name : nullptr).c_str());
    if (named) SysFreeString(name);

    SENSOR_TYPE_ID type;
    if (SUCCEEDED(sensor->GetType(&type))) {
        const LocationSensorType* known = FindLocationSensorType(type);
        WidePrintf(L"Sensor type  : %s\n", known != nullptr ? known->name : L"err");
    }

    SensorState state = static_cast<SensorState>(kSensorStateUnknown);
    const bool stateRead = SUCCEEDED(sensor->GetState(&state));
    if (!stateRead) state = static_cast<SensorState>(kSensorStateUnknown);
    WidePrintf(L"Sensor status: %s\n", SensorStateNameW(state));

    if (stateRead) {
        ComRef<ISensorDataReport> report;
        if (SUCCEEDED(sensor->GetData(report.Put())) && report) PrintData(report.Get());
    }
    WidePrintf(L"\n");
}

}  // namespace

void PrintSeparator() {
    WidePrintf(L"------------------------------------------------------------------------\n");
}

void PrintSensorReport(ISensorManager* manager) {
    PrintSeparator();
    WidePrintf(L" Location Sensor Status\n");
    PrintSeparator();

    ComRef<ISensorCollection> sensors;
    if (manager == nullptr || FAILED(manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, sensors.Put())) ||
        !sensors)
        return;

    ULONG count = 0;
    if (FAILED(sensors->GetCount(&count))) count = 0;
    for (ULONG index = 0; index < count; ++index) {
        ComRef<ISensor> sensor;
        if (FAILED(sensors->GetAt(index, sensor.Put())) || !sensor) continue;
        PrintSensor(sensor.Get());
    }
}
