#include "sensor_events.h"

#include <sensors.h>

#include "com_ref.h"
#include "report_values.h"
#include "sensor_dlg.h"
#include "sensor_manager_events.h"
#include "sensor_state.h"

namespace {

// The values of a sensor's latest report; 0 where a value cannot be read.
struct LatestValues {
    double latitude = 0.0;
    double longitude = 0.0;
    int satellitesUsed = 0;
    int satellitesInView = 0;
    ReportExtras extras;
};

// `result` receives the result of the last data call.
LatestValues ReadLatestValues(ISensor* sensor, HRESULT& result) {
    LatestValues values;
    ComRef<ISensorDataReport> report;
    result = sensor->GetData(report.Put());
    if (FAILED(result) || !report) return values;
    ISensorDataReport* data = report.Get();
    if (auto value = ReadReportDouble(data, SENSOR_DATA_TYPE_LATITUDE_DEGREES, &result)) values.latitude = *value;
    if (auto value = ReadReportDouble(data, SENSOR_DATA_TYPE_LONGITUDE_DEGREES, &result)) values.longitude = *value;
    if (auto value = ReadReportInt(data, SENSOR_DATA_TYPE_SATELLITES_USED_COUNT, &result))
        values.satellitesUsed = *value;
    if (auto value = ReadReportInt(data, SENSOR_DATA_TYPE_SATELLITES_IN_VIEW, &result))
        values.satellitesInView = *value;
    // Read after the others and without touching `result`: the call's
    // result stays that of the satellites in view.
    values.extras.altitude = ReadReportDouble(data, SENSOR_DATA_TYPE_ALTITUDE_ANTENNA_SEALEVEL_METERS);
    values.extras.errorRadius = ReadReportDouble(data, SENSOR_DATA_TYPE_ERROR_RADIUS_METERS);
    return values;
}

}  // namespace

CSensorEvents::CSensorEvents(CSensorDlg* dialog, CSensorManagerEvents* registry)
    : m_dialog(dialog), m_registry(registry) {}

HRESULT CSensorEvents::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_ISensorEvents, &IID_IUnknown});
}

void CSensorEvents::ForgetOwners() {
    m_dialog = nullptr;
    m_registry = nullptr;
}

HRESULT CSensorEvents::OnStateChanged(ISensor* sensor, SensorState) {
    if (!sensor) return E_POINTER;
    SENSOR_ID id;
    const HRESULT hr = sensor->GetID(&id);
    if (FAILED(hr)) return hr;
    return PublishStatus(id, sensor);
}

HRESULT CSensorEvents::OnDataUpdated(ISensor* sensor, ISensorDataReport* report) {
    if (!sensor || !report) return E_UNEXPECTED;
    return OnStateChanged(sensor, SENSOR_STATE_READY);
}

HRESULT CSensorEvents::OnEvent(ISensor*, REFGUID, IPortableDeviceValues*) { return E_NOTIMPL; }

// The tray shows the tracked sensor as gone rather than its last status; the
// catalog keeps the sensor.
HRESULT CSensorEvents::OnLeave(REFSENSOR_ID id) {
    if (!m_registry) return S_OK;
    const HRESULT hr = m_registry->DropSensorById(id);
    if (FAILED(hr)) return hr;
    if (m_dialog) m_dialog->OnSensorLeft(id);
    return S_OK;
}

HRESULT CSensorEvents::RefreshSensor(ISensor* sensor) {
    if (!sensor) return E_POINTER;
    ComRef<ISensorDataReport> report;
    HRESULT hr = sensor->GetData(report.Put());
    if (SUCCEEDED(hr) && !report) return E_INVALIDARG;
    SENSOR_ID id;
    hr = sensor->GetID(&id);
    if (FAILED(hr)) return hr;
    return PublishStatus(id, sensor);
}

// Publishes whatever could be read: a failed report request or value read
// still publishes, with 0 for every value not read, and returns the failure.
HRESULT CSensorEvents::PublishStatus(const SENSOR_ID& id, ISensor* sensor) {
    if (!sensor) return S_OK;

    BSTR friendlyName = nullptr;
    sensor->GetFriendlyName(&friendlyName);
    const CString name = friendlyName ? CString(friendlyName) : CString();
    SysFreeString(friendlyName);

    SensorState state = static_cast<SensorState>(kSensorStateUnknown);
    sensor->GetState(&state);

    HRESULT hr = S_OK;
    const LatestValues values = ReadLatestValues(sensor, hr);
    if (m_dialog) {
        m_dialog->SetReportExtras(values.extras);
        m_dialog->OnSensorStatus(id, name, state, values.latitude, values.longitude, values.satellitesUsed,
                                 values.satellitesInView);
    }
    return hr;
}
