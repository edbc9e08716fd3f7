#include "sim_civic_address_report.h"

#include "system_time.h"

namespace {

HRESULT CopyText(const wchar_t* text, BSTR* copy) {
    if (copy == nullptr) return E_POINTER;
    *copy = SysAllocString(text);
    return *copy == nullptr ? E_OUTOFMEMORY : S_OK;
}

}  // namespace

CSimCivicAddressReport::CSimCivicAddressReport(
    const GUID& sensorId, const std::array<std::optional<std::wstring>, kCivicFieldCount>& fields)
    : m_sensorId(sensorId), m_fields(fields), m_timestamp(CurrentSystemTime()) {}

STDMETHODIMP CSimCivicAddressReport::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ILocationReport, &IID_ICivicAddressReport});
}

STDMETHODIMP CSimCivicAddressReport::GetSensorID(SENSOR_ID* id) {
    if (id == nullptr) return E_POINTER;
    *id = m_sensorId;
    return S_OK;
}

STDMETHODIMP CSimCivicAddressReport::GetTimestamp(SYSTEMTIME* timestamp) {
    if (timestamp == nullptr) return E_POINTER;
    *timestamp = m_timestamp;
    return S_OK;
}

STDMETHODIMP CSimCivicAddressReport::GetValue(REFPROPERTYKEY, PROPVARIANT* value) {
    if (value == nullptr) return E_POINTER;
    PropVariantInit(value);
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

HRESULT CSimCivicAddressReport::ReadField(CivicField field, BSTR* text) const {
    const auto& value = m_fields[static_cast<std::size_t>(field)];
    return CopyText(value ? value->c_str() : L"", text);
}

STDMETHODIMP CSimCivicAddressReport::GetAddressLine1(BSTR* text) {
    return ReadField(CivicField::AddressLine1, text);
}
STDMETHODIMP CSimCivicAddressReport::GetAddressLine2(BSTR* text) {
    return ReadField(CivicField::AddressLine2, text);
}
STDMETHODIMP CSimCivicAddressReport::GetCity(BSTR* text) { return ReadField(CivicField::City, text); }
STDMETHODIMP CSimCivicAddressReport::GetStateProvince(BSTR* text) {
    return ReadField(CivicField::StateProvince, text);
}
STDMETHODIMP CSimCivicAddressReport::GetPostalCode(BSTR* text) { return ReadField(CivicField::PostalCode, text); }
STDMETHODIMP CSimCivicAddressReport::GetCountryRegion(BSTR* text) { return CopyText(L"", text); }

STDMETHODIMP CSimCivicAddressReport::GetDetailLevel(DWORD* detailLevel) {
    if (detailLevel == nullptr) return E_POINTER;
    *detailLevel = 0;
    return S_OK;
}
