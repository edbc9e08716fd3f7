#include "sensor_registry.h"

#include <sensors.h>

#include <algorithm>

#include "friendly_name.h"
#include "report_values.h"
#include "sensor_state.h"

namespace {

// Reads the values of a sensor's latest report into `values`, leaving those
// that cannot be read. `result` receives the result of the last data call.
void ReadLatestValues(ISensor* sensor, SensorStatus& values, HRESULT& result) {
    ComRef<ISensorDataReport> report;
    result = sensor->GetData(report.Put());
    if (FAILED(result) || !report) return;
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
}

}  // namespace

CSensorEvents::CSensorEvents(SensorListener* listener, CSensorManagerEvents* registry)
    : m_listener(listener), m_registry(registry) {}

HRESULT CSensorEvents::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_ISensorEvents, &IID_IUnknown});
}

void CSensorEvents::ForgetOwners() {
    m_listener = nullptr;
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
    if (m_listener) m_listener->OnSensorLeft(id);
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

    SensorStatus status;
    if (const auto name = ReadFriendlyName(sensor)) status.name = CString(name->c_str());

    // The state assumed when reading it fails.
    SensorState state = SENSOR_STATE_ERROR;
    sensor->GetState(&state);
    status.state = state;

    HRESULT hr = S_OK;
    ReadLatestValues(sensor, status, hr);
    if (m_listener) m_listener->OnSensorStatus(id, status);
    return hr;
}

CSensorManagerEvents::CSensorManagerEvents(SensorListener* listener)
    : m_sink(ComRef<CSensorEvents>::Adopt(new CSensorEvents(listener, this))) {}

// A sensor that left keeps its reference to the sink (its sink is never
// reset), so the sink is released, not deleted, and told its owners are gone.
CSensorManagerEvents::~CSensorManagerEvents() {
    m_sink->ForgetOwners();
    m_sink.Reset();
}

HRESULT CSensorManagerEvents::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_ISensorManagerEvents, &IID_IUnknown});
}

HRESULT CSensorManagerEvents::StartWatching() {
    HRESULT hr = ::CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_ALL, IID_ISensorManager, m_manager.PutVoid());
    if (FAILED(hr)) return hr;
    hr = m_manager->SetEventSink(this);
    if (FAILED(hr)) return hr;

    ComRef<ISensorCollection> sensors;
    hr = m_manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, sensors.Put());
    if (FAILED(hr) || !sensors) return hr;

    ULONG count = 0;
    sensors->GetCount(&count);
    for (ULONG i = 0; i < count; ++i) {
        ComRef<ISensor> sensor;
        hr = sensors->GetAt(i, sensor.Put());
        if (FAILED(hr)) continue;
        hr = TrackSensor(sensor.Get());
        if (SUCCEEDED(hr)) hr = m_sink->RefreshSensor(sensor.Get());
    }
    return hr;
}

HRESULT CSensorManagerEvents::StopWatching() {
    for (auto it = m_sensors.begin(); it != m_sensors.end();) {
        ISensor* sensor = (it++)->second.Get();
        UntrackSensor(sensor);
    }
    if (!m_manager) return S_OK;
    return m_manager->SetEventSink(nullptr);
}

HRESULT CSensorManagerEvents::TrackSensor(ISensor* sensor) {
    if (!sensor) return E_POINTER;
    HRESULT hr = sensor->SetEventSink(m_sink.Get());
    if (FAILED(hr)) return hr;
    SENSOR_ID id;
    hr = sensor->GetID(&id);
    if (FAILED(hr)) {
        // Untracked, the sensor would keep the sink with nothing to unhook it.
        sensor->SetEventSink(nullptr);
        return hr;
    }
    // A sensor tracked again under the same id gives back the old reference.
    m_sensors[id] = ComRef<ISensor>::Share(sensor);
    return hr;
}

// The map's reference goes in any case; a sensor whose id cannot be read is
// found by its pointer, so no entry is left without its reference.
HRESULT CSensorManagerEvents::UntrackSensor(ISensor* sensor) {
    if (!sensor) return E_POINTER;
    sensor->SetEventSink(nullptr);
    SENSOR_ID id;
    const HRESULT hr = sensor->GetID(&id);
    const auto entry = SUCCEEDED(hr) ? m_sensors.find(id)
                                     : std::find_if(m_sensors.begin(), m_sensors.end(),
                                                    [sensor](const auto& held) { return held.second.Get() == sensor; });
    if (entry != m_sensors.end()) m_sensors.erase(entry);
    return hr;
}

HRESULT CSensorManagerEvents::DropSensorById(REFSENSOR_ID id) {
    auto entry = m_sensors.find(id);
    if (entry == m_sensors.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    m_sensors.erase(entry);
    return S_OK;
}

HRESULT CSensorManagerEvents::OnSensorEnter(ISensor* sensor, SensorState) {
    if (!sensor) return E_POINTER;
    SENSOR_CATEGORY_ID category;
    HRESULT hr = sensor->GetCategory(&category);
    if (FAILED(hr)) return hr;
    if (!IsEqualGUID(category, SENSOR_CATEGORY_LOCATION)) return hr;
    hr = TrackSensor(sensor);
    if (FAILED(hr)) return hr;
    // Whatever its state, so that a receiver coming back still initialising
    // shows at once.
    return m_sink->RefreshSensor(sensor);
}
