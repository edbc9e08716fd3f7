#include "location_report.h"

#include <locationapi.h>
#include <wide_print.h>

#include "printable_text.h"
#include "sensor_report.h"

namespace {

void PrintProvidingSensor(ILocationReport* report, ISensorManager* manager) {
    SENSOR_ID id;
    if (manager == nullptr || FAILED(report->GetSensorID(&id))) return;
    ISensor* sensor = nullptr;
    if (FAILED(manager->GetSensorByID(id, &sensor)) || sensor == nullptr) return;
    BSTR name = nullptr;
    const bool named = SUCCEEDED(sensor->GetFriendlyName(&name));
    WidePrintf(L"Providing Sensor Name: %s\n", PrintableText(named ? name : nullptr).c_str());
    if (named) SysFreeString(name);
    sensor->Release();
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
    ILocationReport* report = nullptr;
    if (FAILED(location->GetReport(IID_ICivicAddressReport, &report)) || report == nullptr) return;
    ICivicAddressReport* address = nullptr;
    if (SUCCEEDED(report->QueryInterface(IID_ICivicAddressReport, reinterpret_cast<void**>(&address))) &&
        address != nullptr) {
        for (const CivicField& field : kCivicFields) {
            BSTR text = nullptr;
            if (FAILED((address->*field.read)(&text))) continue;
            if (text != nullptr && text[0] != L'\0') WidePrintf(field.format, PrintableText(text).c_str());
            SysFreeString(text);
        }
        address->Release();
    }
    report->Release();
}

// A report without the latitude/longitude interface skips the coordinates
// line; the providing sensor comes from the report itself.
void PrintCurrentReport(ILocation* location, ISensorManager* manager) {
    ILocationReport* report = nullptr;
    if (FAILED(location->GetReport(IID_ILatLongReport, &report)) || report == nullptr) {
        WidePrintf(L"GetReport Error!\n");
        return;
    }
    ILatLongReport* lat_long = nullptr;
    if (FAILED(report->QueryInterface(IID_ILatLongReport, reinterpret_cast<void**>(&lat_long))))
        lat_long = nullptr;
    PrintProvidingSensor(report, manager);
    if (lat_long != nullptr) {
        PrintLatLong(lat_long);
        lat_long->Release();
    }
    report->Release();
    PrintCivicAddress(location);
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

    ILocation* location = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Location, nullptr, CLSCTX_ALL, IID_ILocation,
                                reinterpret_cast<void**>(&location))) ||
        location == nullptr)
        return kExitLatLongUnsupported;

    IID report_types[] = {IID_ILatLongReport, IID_ICivicAddressReport};
    location->RequestPermissions(nullptr, report_types, 2, TRUE);

    if (!LatLongSupported(location)) {
        location->Release();
        return kExitLatLongUnsupported;
    }

    WidePrintf(L"Location API data (Desired Accuracy : DEFAULT)\n");
    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_DEFAULT);
    PrintCurrentReport(location, manager);

    WidePrintf(L"\nLocation API data (Desired Accuracy : HIGH)\n");
    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_HIGH);
    PrintCurrentReport(location, manager);

    location->Release();
    return kExitReportComplete;
}
