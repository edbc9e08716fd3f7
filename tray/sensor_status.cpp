// How a sensor status is shown: the catalog entry and, for the tracked
// sensor, the tray icon and tooltip.
#include <windows.h>
#include <shellapi.h>
#include <sensorsapi.h>

#include "builtin_icons.h"
#include "resource.h"
#include "sensor_dlg.h"
#include "tray_constants.h"
#include "tray_tooltip.h"

namespace {

// ExtractIcon's answer for a file that is no icon container at all.
const HICON kNotAnIconContainer = reinterpret_cast<HICON>(1);

}  // namespace

ULONG CSensorDlg::OnSensorStatus(const GUID& id, CString name, long state, double latitude, double longitude,
                                 int satellitesUsed, int satellitesInView) {
    CatalogEntry& entry = m_catalog[id];
    // The id text never changes: converted once, when the sensor is new.
    if (entry.idText.IsEmpty()) {
        LPOLESTR idText = nullptr;
        if (SUCCEEDED(::StringFromCLSID(id, &idText))) entry.idText = CString(idText);
        ::CoTaskMemFree(idText);
    }
    entry.name = name;

    if (std::memcmp(&id, &m_sensorId, sizeof(GUID)) != 0) return 0;
    ShowTrackedStatus(name, state, latitude, longitude, satellitesUsed, satellitesInView);
    return 0;
}

void CSensorDlg::OnSensorLeft(const GUID& id) {
    if (std::memcmp(&id, &m_sensorId, sizeof(GUID)) != 0) return;
    const auto known = m_catalog.find(id);
    const CString name = known == m_catalog.end() ? CString() : known->second.name;
    ShowTrackedStatus(name, SENSOR_STATE_NOT_AVAILABLE, 0.0, 0.0, 0, 0);
}

void CSensorDlg::ShowTrackedStatus(const CString& name, long state, double latitude, double longitude,
                                   int satellitesUsed, int satellitesInView) {
    const bool ready = state == SENSOR_STATE_READY;
    HICON icon = StatusIcon(ready);
    const bool extracted = icon != nullptr;
    if (!icon) icon = BuiltinTrayIcon(ready ? IDI_SENSOR_READY : IDI_SENSOR_NOT_READY);
    m_trayIcon = icon;
    m_trayTip = BuildTrayTooltip(name, state, latitude, longitude, satellitesUsed, satellitesInView);

    NOTIFYICONDATAA record;
    PrepareShownRecord(record);
    ::Shell_NotifyIconA(NIM_MODIFY, &record);
    ReplaceStatusIcon(icon, extracted);
}

// The configured icon for the state, or null when there is none to use.
HICON CSensorDlg::StatusIcon(bool ready) const {
    const CString& file = ready ? m_enableIconFile : m_disableIconFile;
    if (file.IsEmpty()) return nullptr;
    const int index = ready ? m_enableIconIndex : m_disableIconIndex;
    // Index -1 asks for the number of icons in the file, not for an icon.
    if (index == -1) return nullptr;
    HICON icon = ::ExtractIconA(AfxGetInstanceHandle(), file, static_cast<UINT>(index));
    return icon == kNotAnIconContainer ? nullptr : icon;
}

// Icons extracted from a file are the program's to destroy once the tray
// shows another; the built-in ones are shared resources.
void CSensorDlg::ReplaceStatusIcon(HICON icon, bool owned) {
    if (m_statusIconOwned && m_statusIcon && m_statusIcon != icon) ::DestroyIcon(m_statusIcon);
    m_statusIcon = icon;
    m_statusIconOwned = owned;
}
