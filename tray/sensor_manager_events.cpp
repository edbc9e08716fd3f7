#include "sensor_manager_events.h"

#include <sensors.h>

#include <algorithm>

CSensorManagerEvents::CSensorManagerEvents(CSensorDlg* dialog)
    : m_sink(ComRef<CSensorEvents>::Adopt(new CSensorEvents(dialog, this))) {}

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
    if (FAILED(hr)) return hr;
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
