#pragma once

#include <windows.h>
#include <locationapi.h>

#include <array>
#include <optional>
#include <string>

#include "scenario.h"
#include "sim_com_object.h"

// A civic address report. Fields the scenario does not give come back as
// empty strings, as the platform returns them for an address it only partly
// knows; the country is always empty and the detail level 0.
class CSimCivicAddressReport final : public CComObjectBase<ICivicAddressReport> {
public:
    CSimCivicAddressReport(const GUID& sensorId,
                           const std::array<std::optional<std::wstring>, kCivicFieldCount>& fields);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP GetSensorID(SENSOR_ID* id) override;
    STDMETHODIMP GetTimestamp(SYSTEMTIME* timestamp) override;
    STDMETHODIMP GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override;

    STDMETHODIMP GetAddressLine1(BSTR* text) override;
    STDMETHODIMP GetAddressLine2(BSTR* text) override;
    STDMETHODIMP GetCity(BSTR* text) override;
    STDMETHODIMP GetStateProvince(BSTR* text) override;
    STDMETHODIMP GetPostalCode(BSTR* text) override;
    STDMETHODIMP GetCountryRegion(BSTR* text) override;
    STDMETHODIMP GetDetailLevel(DWORD* detailLevel) override;

private:
    HRESULT ReadField(CivicField field, BSTR* text) const;

    GUID m_sensorId;
    std::array<std::optional<std::wstring>, kCivicFieldCount> m_fields;
    SYSTEMTIME m_timestamp;
};
