// CSensorDlg: the hidden main dialog. It runs the modal loop in which every
// sensor callback, tray message and timer is handled, and holds the
// settings, the sensor registry, the tray entry and the click gesture.
#pragma once

#include <afxwin.h>

#include <memory>

#include "click_gesture.h"
#include "sensor_listener.h"
#include "settings.h"
#include "sensor_status.h"
#include "tray_entry.h"
#include "tray_extras.h"

class CSensorManagerEvents;

class CSensorDlg : public CDialog, public SensorListener {
public:
    CSensorDlg();
    ~CSensorDlg() override;

    // Records the sensor in the catalog and, for the tracked sensor, shows
    // its state in the tray. Always returns 0.
    ULONG OnSensorStatus(const GUID& id, const SensorStatus& status) override;
    // A sensor left: the tracked one is shown as not available under the
    // name the catalog knows; the catalog keeps it.
    void OnSensorLeft(const GUID& id) override;

    // Stops and destroys the sensor registry, then writes the settings file
    // with the sensor catalog. Returns the result of stopping the registry.
    ULONG SaveSettings();

    void SetTrayEntry(bool add);
    void ShowPositionOnMap();

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnTrayTimer(WPARAM timerId, LPARAM lParam);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnWindowPosChanging(WINDOWPOS* position);
    afx_msg void OnExitCommand();
    afx_msg LRESULT OnEndSession(WPARAM ending, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void LoadSettings();
    void ShowTrackedStatus(const SensorStatus& status);
    void FollowClickSteps(const ClickSteps& steps);
    void RunTrayAction(TrayAction kind);

    HICON m_hIcon;
    TraySettings m_settings;
    std::unique_ptr<CSensorManagerEvents> m_registry;
    ClickGesture m_clickGesture;
    TrayEntry m_trayEntry;
    TrayExtras m_extras;
};
