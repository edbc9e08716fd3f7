#include "sim_sensor.h"

#include <utility>

#include "scenario_keys.h"
#include "sim_data_report.h"

namespace {
// VARIANT_TRUE and VARIANT_FALSE.
constexpr VARIANT_BOOL kYes = -1;
constexpr VARIANT_BOOL kNo = 0;
}  // namespace

// Failing operations leave pointer results null and other results untouched:
// callers that preset a value (such as the error state) keep it.

CSimSensor::CSimSensor(const SensorDefinition& definition) : m_definition(definition) {}

ComRef<ISensorEvents> CSimSensor::TakeSink() { return std::exchange(m_sink, {}); }

STDMETHODIMP CSimSensor::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensor});
}

STDMETHODIMP CSimSensor::GetID(SENSOR_ID* id) {
    if (id == nullptr) return E_POINTER;
    if (Fails(SensorOperation::Id)) return E_FAIL;
    *id = m_definition.id;
    return S_OK;
}

STDMETHODIMP CSimSensor::GetCategory(SENSOR_CATEGORY_ID* category) {
    if (category == nullptr) return E_POINTER;
    if (Fails(SensorOperation::Category)) return E_FAIL;
    *category = m_definition.category;
    return S_OK;
}

STDMETHODIMP CSimSensor::GetType(SENSOR_TYPE_ID* type) {
    if (type == nullptr) return E_POINTER;
    if (Fails(SensorOperation::Type)) return E_FAIL;
    *type = m_definition.type;
    return S_OK;
}

STDMETHODIMP CSimSensor::GetFriendlyName(BSTR* name) {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    if (Fails(SensorOperation::Name)) return E_FAIL;
    *name = SysAllocString(m_definition.name.c_str());
    return *name == nullptr ? E_OUTOFMEMORY : S_OK;
}

STDMETHODIMP CSimSensor::GetProperty(REFPROPERTYKEY, PROPVARIANT* property) {
    if (property == nullptr) return E_POINTER;
    PropVariantInit(property);
    return E_NOTIMPL;
}

STDMETHODIMP CSimSensor::GetProperties(IPortableDeviceKeyCollection*, IPortableDeviceValues** properties) {
    if (properties != nullptr) *properties = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSimSensor::GetSupportedDataFields(IPortableDeviceKeyCollection** fields) {
    if (fields != nullptr) *fields = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSimSensor::SetProperties(IPortableDeviceValues*, IPortableDeviceValues** results) {
    if (results != nullptr) *results = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CSimSensor::SupportsDataField(REFPROPERTYKEY key, VARIANT_BOOL* supported) {
    if (supported == nullptr) return E_POINTER;
    SensorValue value{};
    const bool known = FindSensorValueField(key, &value) != nullptr && m_definition.Value(value).has_value();
    *supported = known ? kYes : kNo;
    return S_OK;
}

STDMETHODIMP CSimSensor::GetState(SensorState* state) {
    if (state == nullptr) return E_POINTER;
    if (Fails(SensorOperation::State)) return E_FAIL;
    *state = static_cast<SensorState>(m_definition.state);
    return S_OK;
}

STDMETHODIMP CSimSensor::GetData(ISensorDataReport** report) {
    if (report == nullptr) return E_POINTER;
    *report = nullptr;
    if (Fails(SensorOperation::Data)) return E_FAIL;
    *report = new CSimDataReport(m_definition);
    return S_OK;
}

STDMETHODIMP CSimSensor::SupportsEvent(REFGUID, VARIANT_BOOL* supported) {
    if (supported == nullptr) return E_POINTER;
    *supported = kNo;
    return S_OK;
}

STDMETHODIMP CSimSensor::GetEventInterest(GUID** events, ULONG* count) {
    if (events == nullptr || count == nullptr) return E_POINTER;
    *events = nullptr;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CSimSensor::SetEventInterest(GUID*, ULONG) { return S_OK; }

STDMETHODIMP CSimSensor::SetEventSink(ISensorEvents* sink) {
    m_sink = ComRef<ISensorEvents>::Share(sink);
    return S_OK;
}
