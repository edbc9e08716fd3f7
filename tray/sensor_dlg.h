// CSensorDlg: the hidden main dialog. It owns the tray entry, runs the modal
// loop in which every sensor callback, tray message and timer is handled, and
// holds the settings, the sensor catalog and the sensor registry.
#pragma once

#include <afxwin.h>
#include <shellapi.h>

#include <cstring>
#include <map>
#include <string>

class CSensorManagerEvents;

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct CatalogEntry {
    CString idText;
    CString name;
};

class CSensorDlg : public CDialog {
public:
    CSensorDlg();
    ~CSensorDlg() override;

    // Records the sensor in the catalog and, for the tracked sensor, shows
    // its state in the tray. Always returns 0.
    virtual ULONG OnSensorStatus(const GUID& id, CString name, long state, double latitude, double longitude,
                                 int satellitesUsed, int satellitesInView);
    // A sensor left: the tracked one is shown as not available under the
    // name the catalog knows; the catalog keeps it.
    void OnSensorLeft(const GUID& id);

    // Stops and destroys the sensor registry, then writes the settings file
    // with the sensor catalog. Returns the result of stopping the registry.
    ULONG SaveSettings();

    void SetTrayEntry(bool add);
    void ShowPositionOnMap();
    virtual void RunTrayAction(int kind);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // What tests and callers may look at.
    const std::map<GUID, CatalogEntry, GuidLess>& Catalog() const { return m_catalog; }
    const GUID& TrackedSensorId() const { return m_sensorId; }
    int ClickState() const { return m_clickState; }

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
    static std::wstring SettingsFilePath();
    void WriteSettings(const std::wstring& path);
    void ShowTrackedStatus(const CString& name, long state, double latitude, double longitude, int satellitesUsed,
                           int satellitesInView);
    HICON StatusIcon(bool ready) const;
    void ReplaceStatusIcon(HICON icon, bool owned);
    void PrepareTrayRecord(NOTIFYICONDATAA& record) const;
    // The record that shows the entry's current icon and tooltip.
    void PrepareShownRecord(NOTIFYICONDATAA& record) const;

    HICON m_hIcon;

    // Settings
    CString m_enableIconFile;
    int m_enableIconIndex = 0;
    CString m_disableIconFile;
    int m_disableIconIndex = 0;
    CString m_sensorIdText;
    GUID m_sensorId{};
    std::wstring m_settingsPath;
    bool m_settingsSaved = false;

    std::map<GUID, CatalogEntry, GuidLess> m_catalog;
    CSensorManagerEvents* m_registry = nullptr;
    int m_clickState = 0;

    // The icon of the last status shown, destroyed when replaced if it was
    // extracted from a file.
    HICON m_statusIcon = nullptr;
    bool m_statusIconOwned = false;

    // What the tray entry shows, to add it again when the shell restarts.
    bool m_trayShown = false;
    HICON m_trayIcon = nullptr;
    CString m_trayTip;
};
