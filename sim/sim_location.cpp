#include "sim_location.h"

#include <utility>

#include "sim_civic_address_report.h"
#include "sim_lat_long_report.h"

namespace {
constexpr DWORD kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED
constexpr DWORD kErrorNoData = 232;       // ERROR_NO_DATA
}  // namespace

CSimLocation::CSimLocation(std::shared_ptr<const Scenario> scenario) : m_scenario(std::move(scenario)) {}

STDMETHODIMP CSimLocation::QueryInterface(REFIID iid, void** object) {
    return AnswerQuery(iid, object, {&IID_IUnknown, &IID_ILocation});
}

CSimLocation::ReportSettings* CSimLocation::SettingsFor(REFIID reportType) {
    if (IsEqualIID(reportType, IID_ILatLongReport)) return &m_latLong;
    if (IsEqualIID(reportType, IID_ICivicAddressReport)) return &m_civic;
    return nullptr;
}

STDMETHODIMP CSimLocation::RegisterForReport(ILocationEvents*, REFIID, DWORD) { return E_NOTIMPL; }

STDMETHODIMP CSimLocation::UnregisterForReport(REFIID) { return E_NOTIMPL; }

STDMETHODIMP CSimLocation::GetReport(REFIID reportType, ILocationReport** report) {
    if (report == nullptr) return E_POINTER;
    *report = nullptr;
    if (IsEqualIID(reportType, IID_ILatLongReport)) {
        if (!m_scenario->latLongSupported) return HRESULT_FROM_WIN32(kErrorNotSupported);
        const SensorDefinition* provider = m_scenario->LocationProvider(m_latLong.accuracy);
        if (provider == nullptr) return HRESULT_FROM_WIN32(kErrorNoData);
        *report = new CSimLatLongReport(*provider);
        return S_OK;
    }
    if (IsEqualIID(reportType, IID_ICivicAddressReport)) {
        if (!m_scenario->HasCivicAddress()) return HRESULT_FROM_WIN32(kErrorNoData);
        const SensorDefinition* provider = m_scenario->LocationProvider(LOCATION_DESIRED_ACCURACY_DEFAULT);
        *report = new CSimCivicAddressReport(provider != nullptr ? provider->id : GUID{}, m_scenario->civic);
        return S_OK;
    }
    return E_INVALIDARG;
}

STDMETHODIMP CSimLocation::GetReportStatus(REFIID reportType, LOCATION_REPORT_STATUS* status) {
    if (status == nullptr) return E_POINTER;
    if (IsEqualIID(reportType, IID_ILatLongReport)) {
        *status = m_scenario->latLongSupported ? REPORT_RUNNING : REPORT_NOT_SUPPORTED;
        return S_OK;
    }
    if (IsEqualIID(reportType, IID_ICivicAddressReport)) {
        *status = m_scenario->HasCivicAddress() ? REPORT_RUNNING : REPORT_NOT_SUPPORTED;
        return S_OK;
    }
    return E_INVALIDARG;
}

STDMETHODIMP CSimLocation::GetReportInterval(REFIID reportType, DWORD* milliseconds) {
    if (milliseconds == nullptr) return E_POINTER;
    const ReportSettings* settings = SettingsFor(reportType);
    if (settings == nullptr) return E_INVALIDARG;
    *milliseconds = settings->interval;
    return S_OK;
}

STDMETHODIMP CSimLocation::SetReportInterval(REFIID reportType, DWORD milliseconds) {
    ReportSettings* settings = SettingsFor(reportType);
    if (settings == nullptr) return E_INVALIDARG;
    settings->interval = milliseconds;
    return S_OK;
}

STDMETHODIMP CSimLocation::GetDesiredAccuracy(REFIID reportType, LOCATION_DESIRED_ACCURACY* accuracy) {
    if (accuracy == nullptr) return E_POINTER;
    const ReportSettings* settings = SettingsFor(reportType);
    if (settings == nullptr) return E_INVALIDARG;
    *accuracy = settings->accuracy;
    return S_OK;
}

STDMETHODIMP CSimLocation::SetDesiredAccuracy(REFIID reportType, LOCATION_DESIRED_ACCURACY accuracy) {
    ReportSettings* settings = SettingsFor(reportType);
    if (settings == nullptr) return E_INVALIDARG;
    if (accuracy != LOCATION_DESIRED_ACCURACY_DEFAULT && accuracy != LOCATION_DESIRED_ACCURACY_HIGH)
        return E_INVALIDARG;
    settings->accuracy = accuracy;
    return S_OK;
}

STDMETHODIMP CSimLocation::RequestPermissions(HWND, IID[], ULONG, WINBOOL) { return S_OK; }
