// SensorListener: what the sink tells whoever shows the sensors (the dialog).
#pragma once

#include <afxwin.h>

#include "sensor_status.h"

class SensorListener {
public:
    // A sensor's status was read. Always returns 0.
    virtual ULONG OnSensorStatus(const GUID& id, const SensorStatus& status) = 0;
    // A sensor left.
    virtual void OnSensorLeft(const GUID& id) = 0;

protected:
    ~SensorListener() = default;
};
