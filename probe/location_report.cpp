#include "location_report.h"

#include <wide_print.h>

#include "printable_text.h"
#include "section_heading.h"

namespace {

// A report without the latitude/longitude interface skips the coordinates
// line; coordinates not read print as 0.
void PrintAccuracy(const AccuracyReading& reading) {
    if (!reading.hasReport) {
        WidePrintf(L"GetReport Error!\n");
        return;
    }
    if (reading.provider)
        WidePrintf(L"Providing Sensor Name: %s\n",
                   PrintableText(*reading.provider ? (*reading.provider)->c_str() : nullptr).c_str());
    if (reading.hasLatLong)
        WidePrintf(L"latitude,longitude : %f, %f\n", reading.latitude.value_or(0.0), reading.longitude.value_or(0.0));
    for (const CivicLine& line : reading.address) WidePrintf(line.line, PrintableText(line.text.c_str()).c_str());
}

}  // namespace

int LocationExitCode(const LocationReading& location) {
    return location.Supported() ? kExitReportComplete : kExitLatLongUnsupported;
}

void PrintLocationSection(const LocationReading& location) {
    PrintSectionHeading(L" Location API status \n");
    if (!location.atDefault || !location.atHigh) return;
    WidePrintf(L"Location API data (Desired Accuracy : DEFAULT)\n");
    PrintAccuracy(*location.atDefault);
    WidePrintf(L"\nLocation API data (Desired Accuracy : HIGH)\n");
    PrintAccuracy(*location.atHigh);
}

int PrintLocationReport(ISensorManager* manager) {
    const LocationReading location = ReadLocation(manager);
    PrintLocationSection(location);
    return LocationExitCode(location);
}
