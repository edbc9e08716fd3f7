#include "location_reading.h"

#include "bstr_holder.h"
#include "com_ref.h"

namespace {

struct CivicField {
    HRESULT (STDMETHODCALLTYPE ICivicAddressReport::*read)(BSTR*);
    const char* key;
    const wchar_t* line;
};

constexpr CivicField kCivicFields[] = {
    {&ICivicAddressReport::GetPostalCode, "postal_code", L"\tPostal Code:\t%s\n"},
    {&ICivicAddressReport::GetStateProvince, "state_province", L"\tState/Province:\t%s\n"},
    {&ICivicAddressReport::GetCity, "city", L"\tCity:\t\t%s\n"},
    {&ICivicAddressReport::GetAddressLine1, "address_line1", L"\tAddress Line 1:\t%s\n"},
    {&ICivicAddressReport::GetAddressLine2, "address_line2", L"\tAddress Line 2:\t%s\n"},
};

std::optional<SensorName> ReadProvider(ILocationReport* report, ISensorManager* manager) {
    SENSOR_ID id;
    if (manager == nullptr || FAILED(report->GetSensorID(&id))) return std::nullopt;
    ComRef<ISensor> sensor;
    if (FAILED(manager->GetSensorByID(id, sensor.Put())) || !sensor) return std::nullopt;
    return ReadFriendlyName(sensor.Get());
}

std::vector<CivicLine> ReadCivicAddress(ILocation* location) {
    std::vector<CivicLine> lines;
    ComRef<ILocationReport> report;
    if (FAILED(location->GetReport(IID_ICivicAddressReport, report.Put())) || !report) return lines;
    ComRef<ICivicAddressReport> address;
    if (FAILED(report->QueryInterface(IID_ICivicAddressReport, address.PutVoid())) || !address) return lines;
    for (const CivicField& field : kCivicFields) {
        BstrHolder text;
        if (FAILED((address.Get()->*field.read)(text.Put()))) continue;
        if (text.Text()[0] != L'\0') lines.push_back({field.key, field.line, text.Get()});
    }
    return lines;
}

// The address is asked only when there is a position report.
AccuracyReading ReadCurrentReport(ILocation* location, ISensorManager* manager) {
    AccuracyReading reading;
    ComRef<ILocationReport> report;
    if (FAILED(location->GetReport(IID_ILatLongReport, report.Put())) || !report) return reading;
    reading.hasReport = true;
    ComRef<ILatLongReport> latLong;
    reading.hasLatLong = SUCCEEDED(report->QueryInterface(IID_ILatLongReport, latLong.PutVoid())) && latLong;
    reading.provider = ReadProvider(report.Get(), manager);
    if (reading.hasLatLong) {
        double value = 0.0;
        if (SUCCEEDED(latLong->GetLatitude(&value))) reading.latitude = value;
        if (SUCCEEDED(latLong->GetLongitude(&value))) reading.longitude = value;
    }
    reading.address = ReadCivicAddress(location);
    return reading;
}

}  // namespace

LocationReading ReadLocation(ISensorManager* manager) {
    LocationReading reading;
    ComRef<ILocation> location;
    if (FAILED(CoCreateInstance(CLSID_Location, nullptr, CLSCTX_ALL, IID_ILocation, location.PutVoid())) ||
        !location)
        return reading;
    reading.created = true;

    IID reportTypes[] = {IID_ILatLongReport, IID_ICivicAddressReport};
    location->RequestPermissions(nullptr, reportTypes, 2, TRUE);

    LOCATION_REPORT_STATUS status = REPORT_NOT_SUPPORTED;
    if (SUCCEEDED(location->GetReportStatus(IID_ILatLongReport, &status))) reading.status = status;
    if (!reading.Supported()) return reading;

    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_DEFAULT);
    reading.atDefault = ReadCurrentReport(location.Get(), manager);
    location->SetDesiredAccuracy(IID_ILatLongReport, LOCATION_DESIRED_ACCURACY_HIGH);
    reading.atHigh = ReadCurrentReport(location.Get(), manager);
    return reading;
}

const char* ReportStatusName(LOCATION_REPORT_STATUS status) {
    switch (status) {
        case REPORT_NOT_SUPPORTED: return "REPORT_NOT_SUPPORTED";
        case REPORT_ERROR: return "REPORT_ERROR";
        case REPORT_ACCESS_DENIED: return "REPORT_ACCESS_DENIED";
        case REPORT_INITIALIZING: return "REPORT_INITIALIZING";
        case REPORT_RUNNING: return "REPORT_RUNNING";
    }
    return nullptr;
}
