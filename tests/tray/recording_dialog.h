// A CSensorDlg that records the statuses handed to it and the tray actions
// it would run, for tests that do not want the tray itself.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

#include "sensor_dlg.h"

struct PublishedStatus {
    GUID id;
    std::string name;
    long state;
    double latitude;
    double longitude;
    int satellitesUsed;
    int satellitesInView;
};

class RecordingDialog : public CSensorDlg {
public:
    ULONG OnSensorStatus(const GUID& id, CString name, long state, double latitude, double longitude,
                         int satellitesUsed, int satellitesInView) override {
        statuses.push_back({id, name.GetString(), state, latitude, longitude, satellitesUsed, satellitesInView});
        if (passToTray)
            CSensorDlg::OnSensorStatus(id, name, state, latitude, longitude, satellitesUsed, satellitesInView);
        return 0;
    }
    void RunTrayAction(int kind) override { actions.push_back(kind); }

    // The protected handlers, for driving the gestures directly.
    using CSensorDlg::OnTrayNotify;
    using CSensorDlg::OnTrayTimer;

    std::vector<PublishedStatus> statuses;
    std::vector<int> actions;
    bool passToTray = false;
};

// The application object a dialog needs: it names the settings file.
class TestApp : public CWinApp {
public:
    explicit TestApp(const char* name) { m_pszAppName = name; }
};
