#include "location_report.h"

#include <locationapi.h>
#include <wide_print.h>

#include "com_ref.h"
#include "printable_text.h"
#include "sensor_report.h"

namespace {

void PrintProvidingSensor(ILocationReport* report, ISensorManager* manager) {
    SENSOR_ID id;
    if (manager == nullptr || FAILED(report->GetSensorID(&id))) return;
    ComRef<ISensor> sensor;
    if (FAILED(manager->GetSensorByID(id, sensor.Put())) || !sensor) return;
    BSTR name = nullptr;
    const bool named = SUCCEEDED(sensor->GetFriendlyName(&name));
    WidePrintf(L"Providing Sensor Name: %s\n", PrintableText(named ? name : nullptr).c_str());
    if (named) SysFreeString(name);
}

// Coordinates not read print as 0.
void PrintLatLong(ILatLongReport* report) {
    double latitude = 0.0;
    double longitude = 0.0;
    if (FAILED(report->GetLatitude(&latitude))) latitude = 0.0;
    if (FAILED(report->GetLongitude(&longitude))) longitude = 0.0;
    WidePrintf(L"latitude,longitude : %f, %f\n", latitude, longitude);
}

struct CivicField {
    HRESULT (STDMETHODCALLTYPE ICivicAddressReport::*read)(BSTR*);
    const wchar_t* format;
};

constexpr CivicField kCivicFields[] = {
    {&ICivicAddressReport::GetPostalCode, L"\tPostal Code:\t%s\n"},
    {&ICivicAddressReport::GetStateProvince, L"\tState/Province:\t%s\n"},
    {&ICivicAddressReport::GetCity, L"\tCity:\t\t%s\n"},
    {&ICivicAddressReport::GetAddressLine1, L"\tAddress Line 1:\t%s\n"},
    {&ICivicAddressReport::GetAddressLine2, L"\tAddress Line 2:\t%s\n"},
};

// Only the fields that are known, that is read and not empty, are printed.
void PrintCivicAddress(ILocation* location) {
    ComRef<ILocationReport> report;
    if (FAILED(location->GetReport(IID_ICivicAddressReport, report.Put())) || !report) return;
    ComRef<ICivicAddressReport> address;
    if (FAILED(report->QueryInterface(IID_ICivicAddressReport, address.PutVoid())) || !address) return;
    for (const CivicField& field : kCivicFields) {
        BSTR text = nullptr;
        if (FAILED((address.Get()->*field.read)(&text))) continue;
        if (text != nullptr && text[0] != L'\0') WidePrintf(field.format, PrintableText(text).c_str());
        SysFreeString(text);
    }
}

// A report without the latitude/longitude interface skips the coordinates
// line; the providing sensor comes from the report itself. False when there
// is no report.
bool PrintPositionReport(ILocation* location, ISensorManager* manager) {
    ComRef<ILocationReport> report;
    if (FAILED(location->GetReport(IID_ILatLongReport, report.Put())) || !report) {
        WidePrintf(L"GetReport Error!\n");
        return false;
    }
    ComRef<ILatLongReport> latLong;
    const bool hasLatLong = SUCCEEDED(report->QueryInterface(IID_ILatLongReport, latLong.PutVoid())) && latLong;
    PrintProvidingSensor(report.Get(), manager);
    if (hasLatLong) PrintLatLong(latLong.Get());
    return true;
}

void PrintCurrentReport(ILocation* location, ISensorManager* manager) {
    if (PrintPositionReport(location, manager)) PrintCivicAddress(location);
}

// A status that cannot be read counts as "not supported".
bool LatLongSupported(ILocation* location) {
    LOCATION_REPORT_STATUS status = REPORT_NOT_SUPPORTED;
    if (FAILED(location->GetReportStatus(IID_ILatLongReport, &status))) return false;
    return status != REPORT_NOT_SUPPORTED;
}

}  // namespace

int PrintLocationReport(ISensorManager* manager) {
    PrintSeparator();
    WidePrintf(L" Location API status \n");
    PrintSeparator();

    ComRef<ILocation> location;
    if (FAILED(CoCreateInstance(CLSID_Location, nullptr, CLSCTX_ALL, IID_ILocation, location.PutVoid())) ||
        !location)
        return kExitLatLongUnsupported;

    IID reportTypes[] = {IID_ILatLongReport, IID_ICivicAddressReport};
    location->RequestPermissions(nullptr, reportTypes, 2, TRUE);

    if (!LatLongSupported(location.Get())) return kExitLatLongUnsupported;

    WidePrintf(L"Location API data (Desired Accuracy : DEFAULT)\n");
    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_DEFAULT);
    PrintCurrentReport(location.Get(), manager);

    WidePrintf(L"\nLocation API data (Desired Accuracy : HIGH)\n");
    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_HIGH);
    PrintCurrentReport(location.Get(), manager);
    return kExitReportComplete;
}
