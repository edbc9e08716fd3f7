#pragma once

#include <windows.h>
#include <locationapi.h>

#include <memory>

#include "scenario.h"
#include "sim_com_object.h"

// The simulated Location object. It answers from the scenario as it was when
// the object was created: the latitude/longitude report at the accuracy most
// recently desired (default at first) carries the position of the sensor the
// scenario names for that accuracy; the civic address report carries the
// scenario's address. Reports with no data fail with ERROR_NO_DATA.
class CSimLocation final : public CComObjectBase<ILocation> {
public:
    explicit CSimLocation(std::shared_ptr<const Scenario> scenario);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    STDMETHODIMP RegisterForReport(ILocationEvents* events, REFIID reportType, DWORD interval) override;
    STDMETHODIMP UnregisterForReport(REFIID reportType) override;
    STDMETHODIMP GetReport(REFIID reportType, ILocationReport** report) override;
    STDMETHODIMP GetReportStatus(REFIID reportType, LOCATION_REPORT_STATUS* status) override;
    STDMETHODIMP GetReportInterval(REFIID reportType, DWORD* milliseconds) override;
    STDMETHODIMP SetReportInterval(REFIID reportType, DWORD milliseconds) override;
    STDMETHODIMP GetDesiredAccuracy(REFIID reportType, LOCATION_DESIRED_ACCURACY* accuracy) override;
    STDMETHODIMP SetDesiredAccuracy(REFIID reportType, LOCATION_DESIRED_ACCURACY accuracy) override;
    STDMETHODIMP RequestPermissions(HWND parent, IID reportTypes[], ULONG count, WINBOOL modal) override;

private:
    // What the caller asked of one report type.
    struct ReportSettings {
        LOCATION_DESIRED_ACCURACY accuracy = LOCATION_DESIRED_ACCURACY_DEFAULT;
        DWORD interval = 0;
    };
    ReportSettings* SettingsFor(REFIID reportType);

    std::shared_ptr<const Scenario> m_scenario;
    ReportSettings m_latLong;
    ReportSettings m_civic;
};
