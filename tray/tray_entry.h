// TrayEntry: the dialog's one notification-area entry. It remembers what the
// entry shows, to add it again when the shell restarts, and owns the status
// icons it extracts from files.
#pragma once

#include <afxwin.h>
#include <shellapi.h>

constexpr UINT TRAY_ENTRY_ID = 128;
constexpr UINT WM_TRAYNOTIFY = WM_APP + 0x69;

class TrayEntry {
public:
    explicit TrayEntry(const CWnd& owner) : m_owner(owner) {}
    ~TrayEntry();
    TrayEntry(const TrayEntry&) = delete;
    TrayEntry& operator=(const TrayEntry&) = delete;

    // Adds the entry with `icon` and the start-up tooltip. A shell that
    // refuses gets one more try after a wait; then the user is told.
    void Add(HICON icon);
    void Delete();
    // Shows the icon numbered `iconIndex` in `iconFile`, or the built-in
    // icon `builtinId` where the file gives none, with `tip`.
    void ShowStatus(const CString& iconFile, int iconIndex, UINT builtinId, const CString& tip);
    // The shell restarted: the entry comes back as it was.
    void Restore();
    // Shows a balloon of `title` and `text` at the entry, cut as the tooltip
    // is; `icon` is one of the NIIF_ icons. Icon and tooltip stay as they are.
    void ShowBalloon(const char* title, const char* text, DWORD icon);

private:
    void PrepareRecord(NOTIFYICONDATAA& record) const;
    void PrepareShownRecord(NOTIFYICONDATAA& record) const;
    void ReplaceStatusIcon(HICON icon, bool owned);

    const CWnd& m_owner;
    bool m_shown = false;
    HICON m_icon = nullptr;
    CString m_tip;
    // The icon of the last status shown, destroyed when replaced if it was
    // extracted from a file.
    HICON m_statusIcon = nullptr;
    bool m_statusIconOwned = false;
};
