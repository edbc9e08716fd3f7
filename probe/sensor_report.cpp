#include "sensor_report.h"

#include <wide_print.h>

#include "map_url.h"
#include "printable_text.h"
#include "section_heading.h"
#include "sensor_reading.h"
#include "sensor_state.h"

namespace {

void PrintSensor(const SensorReading& sensor) {
    WidePrintf(L"Location Sensor name: %s\n", PrintableText(sensor.name ? sensor.name->c_str() : nullptr).c_str());
    if (sensor.type) WidePrintf(L"Sensor type  : %s\n", *sensor.type);
    WidePrintf(L"Sensor status: %s\n", SensorStateNameW(sensor.state.value_or(SENSOR_STATE_ERROR)));
    if (sensor.values) {
        for (const ReportValue& value : *sensor.values) WidePrintf(value.line, value.value);
        if (auto position = FindMapPosition(*sensor.values))
            WidePrintf(kMapUrlFormatW, position->latitude, position->longitude);
    }
    WidePrintf(L"\n");
}

}  // namespace

void PrintSensorSection(const std::vector<SensorReading>& sensors) {
    PrintSectionHeading(L" Location Sensor Status\n");
    for (const SensorReading& sensor : sensors) PrintSensor(sensor);
}

void PrintSensorReport(ISensorManager* manager) { PrintSensorSection(ReadLocationSensors(manager)); }
