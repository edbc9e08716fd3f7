#include "sensor_events.h"

#include <sensors.h>

#include "report_values.h"
#include "sensor_state.h"

CSensorEvents::CSensorEvents(CSensorDlg* dialog, CSensorManagerEvents* registry)
    : m_dialog(dialog), m_registry(registry) {}

HRESULT CSensorEvents::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_ISensorEvents) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<ISensorEvents*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CSensorEvents::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CSensorEvents::Release() {
    const LONG count = --m_refCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

void CSensorEvents::Detach() {
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
    ISensorDataReport* report = nullptr;
    HRESULT hr = sensor->GetData(&report);
    if (SUCCEEDED(hr) && !report) {
        hr = E_INVALIDARG;
    } else {
        SENSOR_ID id;
        hr = sensor->GetID(&id);
        if (SUCCEEDED(hr)) hr = PublishStatus(id, sensor);
    }
    if (report) report->Release();
    return hr;
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

    double latitude = 0.0;
    double longitude = 0.0;
    int satellitesUsed = 0;
    int satellitesInView = 0;
    ISensorDataReport* report = nullptr;
    HRESULT hr = sensor->GetData(&report);
    if (SUCCEEDED(hr) && report) {
        if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_LATITUDE_DEGREES, &hr)) latitude = *value;
        if (auto value = ReadReportDouble(report, SENSOR_DATA_TYPE_LONGITUDE_DEGREES, &hr)) longitude = *value;
        if (auto value = ReadReportInt(report, SENSOR_DATA_TYPE_SATELLITES_USED_COUNT, &hr)) satellitesUsed = *value;
        if (auto value = ReadReportInt(report, SENSOR_DATA_TYPE_SATELLITES_IN_VIEW, &hr)) satellitesInView = *value;
        report->Release();
    }

    if (m_dialog)
        m_dialog->OnSensorStatus(id, name, state, latitude, longitude, satellitesUsed, satellitesInView);
    return hr;
}

CSensorManagerEvents::CSensorManagerEvents(CSensorDlg* dialog) : m_sink(new CSensorEvents(dialog, this)) {}

// A sensor that left keeps its reference to the sink (its sink is never
// reset), so the sink is released, not deleted, and told its owners are gone.
CSensorManagerEvents::~CSensorManagerEvents() {
    m_sink->Detach();
    m_sink->Release();
    m_sensors.clear();
    if (m_manager) m_manager->Release();
}

HRESULT CSensorManagerEvents::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_ISensorManagerEvents) || IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<ISensorManagerEvents*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CSensorManagerEvents::AddRef() { return static_cast<ULONG>(++m_refCount); }

ULONG CSensorManagerEvents::Release() {
    const LONG count = --m_refCount;
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

HRESULT CSensorManagerEvents::StartWatching() {
    HRESULT hr = ::CoCreateInstance(CLSID_SensorManager, nullptr, CLSCTX_ALL, IID_ISensorManager,
                                    reinterpret_cast<void**>(&m_manager));
    if (FAILED(hr)) return hr;
    hr = m_manager->SetEventSink(this);
    if (FAILED(hr)) return hr;

    ISensorCollection* sensors = nullptr;
    hr = m_manager->GetSensorsByCategory(SENSOR_CATEGORY_LOCATION, &sensors);
    if (FAILED(hr) || !sensors) return hr;

    ULONG count = 0;
    sensors->GetCount(&count);
    for (ULONG i = 0; i < count; ++i) {
        ISensor* sensor = nullptr;
        hr = sensors->GetAt(i, &sensor);
        if (FAILED(hr)) continue;
        hr = TrackSensor(sensor);
        if (SUCCEEDED(hr)) hr = m_sink->RefreshSensor(sensor);
        sensor->Release();
    }
    sensors->Release();
    return hr;
}

HRESULT CSensorManagerEvents::StopWatching() {
    for (auto it = m_sensors.begin(); it != m_sensors.end();) {
        ISensor* sensor = it->second;
        ++it;
        UntrackSensor(sensor);
    }
    if (!m_manager) return S_OK;
    return m_manager->SetEventSink(nullptr);
}

HRESULT CSensorManagerEvents::TrackSensor(ISensor* sensor) {
    if (!sensor) return E_POINTER;
    HRESULT hr = sensor->SetEventSink(m_sink);
    if (FAILED(hr)) return hr;
    SENSOR_ID id;
    hr = sensor->GetID(&id);
    if (FAILED(hr)) return hr;

    sensor->AddRef();
    ISensor*& slot = m_sensors[id];
    // A sensor tracked again under the same id: give back the old reference.
    if (slot) slot->Release();
    slot = sensor;
    return hr;
}

HRESULT CSensorManagerEvents::UntrackSensor(ISensor* sensor) {
    if (!sensor) return E_POINTER;
    sensor->SetEventSink(nullptr);
    SENSOR_ID id;
    const HRESULT hr = sensor->GetID(&id);
    if (SUCCEEDED(hr)) m_sensors.erase(id);
    sensor->Release();
    return hr;
}

HRESULT CSensorManagerEvents::DropSensorById(REFSENSOR_ID id) {
    auto it = m_sensors.find(id);
    if (it == m_sensors.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    ISensor* sensor = it->second;
    m_sensors.erase(it);
    sensor->Release();
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
