#include "map_action.h"

#include <shellapi.h>
#include <locationapi.h>

#include "com_ref.h"
#include "map_url.h"

namespace {

// Reads the position of the current latitude/longitude report at the given
// accuracy; leaves the values alone when there is no such report.
void ReadPosition(ILocation* location, LOCATION_DESIRED_ACCURACY accuracy, double& latitude, double& longitude) {
    location->SetDesiredAccuracy(IID_ILatLongReport, accuracy);
    ComRef<ILocationReport> report;
    if (FAILED(location->GetReport(IID_ILatLongReport, report.Put())) || !report) return;
    ComRef<ILatLongReport> latLong;
    if (FAILED(report->QueryInterface(IID_ILatLongReport, latLong.PutVoid())) || !latLong) return;
    double value = 0.0;
    if (SUCCEEDED(latLong->GetLatitude(&value))) latitude = value;
    if (SUCCEEDED(latLong->GetLongitude(&value))) longitude = value;
}

}  // namespace

void ShowCurrentPositionOnMap(HWND owner) {
    ComRef<ILocation> location;
    if (FAILED(::CoCreateInstance(CLSID_Location, nullptr, CLSCTX_ALL, IID_ILocation, location.PutVoid())) ||
        !location)
        return;

    IID reportTypes[] = {IID_ILatLongReport, IID_ICivicAddressReport};
    location->RequestPermissions(nullptr, reportTypes, 2, TRUE);

    // A status that cannot be read counts as not supported.
    LOCATION_REPORT_STATUS status = REPORT_NOT_SUPPORTED;
    if (FAILED(location->GetReportStatus(IID_ILatLongReport, &status)) || status == REPORT_NOT_SUPPORTED) return;

    double latitude = 0.0;
    double longitude = 0.0;
    ReadPosition(location.Get(), LOCATION_DESIRED_ACCURACY_DEFAULT, latitude, longitude);
    ReadPosition(location.Get(), LOCATION_DESIRED_ACCURACY_HIGH, latitude, longitude);
    if (!HasPosition(latitude, longitude)) return;

    const std::string url = MapUrlForShell(latitude, longitude);
    ::ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
}
