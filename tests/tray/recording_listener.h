// A sensor listener that records what the sink tells it, for the registry
// and sink tests.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

#include "sensor_listener.h"

struct PublishedStatus {
    GUID id;
    std::string name;
    long state;
    double latitude;
    double longitude;
    int satellitesUsed;
    int satellitesInView;
};

class RecordingListener : public SensorListener {
public:
    ULONG OnSensorStatus(const GUID& id, CString name, long state, double latitude, double longitude,
                         int satellitesUsed, int satellitesInView) override {
        statuses.push_back({id, name.GetString(), state, latitude, longitude, satellitesUsed, satellitesInView});
        return 0;
    }
    void SetReportExtras(const ReportExtras&) override {}
    void OnSensorLeft(const GUID& id) override { left.push_back(id); }

    std::vector<PublishedStatus> statuses;
    std::vector<GUID> left;
};
