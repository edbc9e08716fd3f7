#include "sim_data_report.h"

#include "scenario_keys.h"
#include "system_time.h"

CSimDataReport::CSimDataReport(const SensorDefinition& sensor)
    : m_sensor(sensor), m_timestamp(CurrentSystemTime()) {}

STDMETHODIMP CSimDataReport::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ISensorDataReport});
}

STDMETHODIMP CSimDataReport::GetTimestamp(SYSTEMTIME* timestamp) {
    if (timestamp == nullptr) return E_POINTER;
    *timestamp = m_timestamp;
    return S_OK;
}

STDMETHODIMP CSimDataReport::GetSensorValue(REFPROPERTYKEY key, PROPVARIANT* value) {
    if (value == nullptr) return E_POINTER;
    PropVariantInit(value);
    SensorValue which{};
    const SensorValueField* field = FindSensorValueField(key, &which);
    if (field == nullptr || !m_sensor.Value(which)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

    const double number = *m_sensor.Value(which);
    const bool wrong = m_sensor.HasWrongType(which);
    if (field->integer) {
        value->vt = wrong ? VT_UI4 : VT_I4;
        if (wrong)
            value->ulVal = static_cast<ULONG>(static_cast<LONG>(number));
        else
            value->lVal = static_cast<LONG>(number);
    } else {
        value->vt = wrong ? VT_R4 : VT_R8;
        if (wrong)
            value->fltVal = static_cast<FLOAT>(number);
        else
            value->dblVal = number;
    }
    return S_OK;
}

STDMETHODIMP CSimDataReport::GetSensorValues(IPortableDeviceKeyCollection*, IPortableDeviceValues** values) {
    if (values != nullptr) *values = nullptr;
    return E_NOTIMPL;
}
