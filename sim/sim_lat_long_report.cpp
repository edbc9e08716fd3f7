#include "sim_lat_long_report.h"

#include "scenario_keys.h"
#include "system_time.h"

CSimLatLongReport::CSimLatLongReport(const SensorDefinition& sensor)
    : m_sensor(sensor), m_timestamp(CurrentSystemTime()) {}

STDMETHODIMP CSimLatLongReport::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ILocationReport, &IID_ILatLongReport});
}

STDMETHODIMP CSimLatLongReport::GetSensorID(SENSOR_ID* id) {
    if (id == nullptr) return E_POINTER;
    *id = m_sensor.id;
    return S_OK;
}

STDMETHODIMP CSimLatLongReport::GetTimestamp(SYSTEMTIME* timestamp) {
    if (timestamp == nullptr) return E_POINTER;
    *timestamp = m_timestamp;
    return S_OK;
}

// The report's fields, under the sensor data keys, always as VT_R8.
STDMETHODIMP CSimLatLongReport::GetValue(REFPROPERTYKEY key, PROPVARIANT* value) {
    if (value == nullptr) return E_POINTER;
    PropVariantInit(value);
    SensorValue which{};
    const SensorValueField* field = FindSensorValueField(key, &which);
    if (field == nullptr || field->integer) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    DOUBLE number = 0;
    const HRESULT result = ReadValue(which, &number);
    if (SUCCEEDED(result)) {
        value->vt = VT_R8;
        value->dblVal = number;
    }
    return result;
}

HRESULT CSimLatLongReport::ReadValue(SensorValue value, DOUBLE* result) const {
    if (result == nullptr) return E_POINTER;
    if (!m_sensor.Value(value)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    *result = *m_sensor.Value(value);
    return S_OK;
}

STDMETHODIMP CSimLatLongReport::GetLatitude(DOUBLE* latitude) {
    return ReadValue(SensorValue::Latitude, latitude);
}

STDMETHODIMP CSimLatLongReport::GetLongitude(DOUBLE* longitude) {
    return ReadValue(SensorValue::Longitude, longitude);
}

STDMETHODIMP CSimLatLongReport::GetErrorRadius(DOUBLE* errorRadius) {
    return ReadValue(SensorValue::ErrorRadius, errorRadius);
}

STDMETHODIMP CSimLatLongReport::GetAltitude(DOUBLE* altitude) {
    return ReadValue(SensorValue::Altitude, altitude);
}

STDMETHODIMP CSimLatLongReport::GetAltitudeError(DOUBLE* altitudeError) {
    if (altitudeError == nullptr) return E_POINTER;
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}
