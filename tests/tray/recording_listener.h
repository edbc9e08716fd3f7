// A sensor listener that records what the sink tells it, for the registry
// and sink tests.
#pragma once

#include <afxwin.h>

#include <vector>

#include "sensor_listener.h"

class RecordingListener : public SensorListener {
public:
    ULONG OnSensorStatus(const GUID& id, const SensorStatus& status) override {
        ids.push_back(id);
        statuses.push_back(status);
        return 0;
    }
    void OnSensorLeft(const GUID& id) override { left.push_back(id); }

    std::vector<GUID> ids;
    std::vector<SensorStatus> statuses;
    std::vector<GUID> left;
};
