#include "tray_entry.h"

#include <shellapi.h>

#include "builtin_icons.h"
#include "tray_tooltip.h"

namespace {

const char kDetectingTip[] = "Detecting Senser...";
constexpr DWORD kRetryDelayMs = 2000;
// Only systems before Vista read it; later ones take the user's setting.
constexpr UINT kBalloonTimeoutMs = 10000;
// ExtractIcon's answer for a file that is no icon container at all.
const HICON kNotAnIconContainer = reinterpret_cast<HICON>(1);

// The icon `index` of `file`, or null when there is none to use.
HICON ExtractStatusIcon(const CString& file, int index) {
    if (file.IsEmpty()) return nullptr;
    // Index -1 asks for the number of icons in the file, not for an icon.
    if (index == -1) return nullptr;
    HICON icon = ::ExtractIconA(AfxGetInstanceHandle(), file, static_cast<UINT>(index));
    return icon == kNotAnIconContainer ? nullptr : icon;
}

}  // namespace

TrayEntry::~TrayEntry() { ReplaceStatusIcon(nullptr, false); }

void TrayEntry::PrepareRecord(NOTIFYICONDATAA& record) const {
    record = NOTIFYICONDATAA{};
    record.cbSize = sizeof(NOTIFYICONDATAA);
    record.hWnd = m_owner.m_hWnd;
    record.uID = TRAY_ENTRY_ID;
}

void TrayEntry::PrepareShownRecord(NOTIFYICONDATAA& record) const {
    PrepareRecord(record);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYNOTIFY;
    record.hIcon = m_icon;
    CopyTrayTip(record.szTip, m_tip);
}

void TrayEntry::Add(HICON icon) {
    m_shown = true;
    m_icon = icon;
    m_tip = kDetectingTip;
    NOTIFYICONDATAA record;
    PrepareShownRecord(record);

    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    // A busy shell that timed out may still have added the entry.
    if (::GetLastError() == ERROR_TIMEOUT) return;
    // The shell may still be starting: wait for it and try again.
    ::Sleep(kRetryDelayMs);
    if (::Shell_NotifyIconA(NIM_MODIFY, &record)) return;
    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    AfxMessageBox("Set TaskTray err!", MB_ICONEXCLAMATION | MB_OK);
}

void TrayEntry::Delete() {
    m_shown = false;
    NOTIFYICONDATAA record;
    PrepareRecord(record);
    ::Shell_NotifyIconA(NIM_DELETE, &record);
}

void TrayEntry::ShowStatus(const CString& iconFile, int iconIndex, UINT builtinId, const CString& tip) {
    HICON icon = ExtractStatusIcon(iconFile, iconIndex);
    const bool extracted = icon != nullptr;
    if (!icon) icon = BuiltinTrayIcon(builtinId);
    m_icon = icon;
    m_tip = tip;

    NOTIFYICONDATAA record;
    PrepareShownRecord(record);
    ::Shell_NotifyIconA(NIM_MODIFY, &record);
    ReplaceStatusIcon(icon, extracted);
}

// Where the shell still has the entry, the add fails and the entry is
// brought up to date instead.
void TrayEntry::Restore() {
    if (!m_shown) return;
    NOTIFYICONDATAA record;
    PrepareShownRecord(record);
    if (!::Shell_NotifyIconA(NIM_ADD, &record)) ::Shell_NotifyIconA(NIM_MODIFY, &record);
}

void TrayEntry::ShowBalloon(const char* title, const char* text, DWORD icon) {
    if (!m_shown) return;
    NOTIFYICONDATAA record;
    PrepareRecord(record);
    record.uFlags = NIF_INFO;
    CopyTrayText(record.szInfoTitle, sizeof record.szInfoTitle, title);
    CopyTrayText(record.szInfo, sizeof record.szInfo, text);
    record.uTimeout = kBalloonTimeoutMs;
    // Not in the user's quiet time, the first hour after a new account's
    // first sign-in.
    record.dwInfoFlags = icon | NIIF_RESPECT_QUIET_TIME;
    ::Shell_NotifyIconA(NIM_MODIFY, &record);
}

// Icons extracted from a file are ours to destroy once the tray shows
// another; the built-in ones are shared resources.
void TrayEntry::ReplaceStatusIcon(HICON icon, bool owned) {
    if (m_statusIconOwned && m_statusIcon && m_statusIcon != icon) ::DestroyIcon(m_statusIcon);
    m_statusIcon = icon;
    m_statusIconOwned = owned;
}
