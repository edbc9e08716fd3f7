// SensorListener: what the sink tells whoever shows the sensors (the dialog).
#pragma once

#include <afxwin.h>

#include "tracked_status.h"

class SensorListener {
public:
    // A sensor's status was read. Always returns 0.
    virtual ULONG OnSensorStatus(const GUID& id, CString name, long state, double latitude, double longitude,
                                 int satellitesUsed, int satellitesInView) = 0;
    // The report values beyond those OnSensorStatus takes, for the status
    // that follows.
    virtual void SetReportExtras(const ReportExtras& extras) = 0;
    // A sensor left.
    virtual void OnSensorLeft(const GUID& id) = 0;

protected:
    ~SensorListener() = default;
};
