#include "sensor_dlg.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "resource.h"
#include "sensor_events.h"
#include "tray_constants.h"
#include "tray_tooltip.h"

const char kDetectingTip[] = "Detecting Senser...";

namespace {

// Sent to every top-level window when the shell (re)starts its task bar.
const UINT WM_TASKBARCREATED = ::RegisterWindowMessageA("TaskbarCreated");

}  // namespace

BEGIN_MESSAGE_MAP(CSensorDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_MESSAGE(WM_TIMER, &CSensorDlg::OnTrayTimer)
ON_MESSAGE(WM_TRAYNOTIFY, &CSensorDlg::OnTrayNotify)
ON_WM_WINDOWPOSCHANGING()
ON_COMMAND(ID_TRAY_EXIT, &CSensorDlg::OnExitCommand)
ON_MESSAGE(WM_ENDSESSION, &CSensorDlg::OnEndSession)
ON_REGISTERED_MESSAGE(WM_TASKBARCREATED, &CSensorDlg::OnTaskbarCreated)
END_MESSAGE_MAP()

CSensorDlg::CSensorDlg()
    : CDialog(IDD_SENSOR_DIALOG, nullptr),
      m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {
    LoadSettings();
}

CSensorDlg::~CSensorDlg() {
    ReplaceStatusIcon(nullptr, false);
    m_catalog.clear();
}

BOOL CSensorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    ModifyStyleEx(WS_EX_APPWINDOW, 0);
    SetTrayEntry(true);

    m_registry = new CSensorManagerEvents(this);
    m_registry->StartWatching();
    return TRUE;
}

// Enter and Space would press the invisible dialog's buttons and end it.
BOOL CSensorDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_SPACE || msg->wParam == VK_RETURN)) return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CSensorDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    dc.DrawIcon((rect.Width() - iconWidth + 1) / 2, (rect.Height() - iconHeight + 1) / 2, m_hIcon);
}

HCURSOR CSensorDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// Every attempt to show the dialog becomes a move without showing, so the
// window exists for the tray entry but is never seen.
void CSensorDlg::OnWindowPosChanging(WINDOWPOS* position) {
    CDialog::OnWindowPosChanging(position);
    position->flags &= ~SWP_SHOWWINDOW;
}

void CSensorDlg::PrepareTrayRecord(NOTIFYICONDATAA& record) const {
    record = NOTIFYICONDATAA{};
    record.cbSize = sizeof(NOTIFYICONDATAA);
    record.hWnd = m_hWnd;
    record.uID = TRAY_ENTRY_ID;
}

void CSensorDlg::PrepareShownRecord(NOTIFYICONDATAA& record) const {
    PrepareTrayRecord(record);
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYNOTIFY;
    record.hIcon = m_trayIcon;
    CopyTrayTip(record.szTip, m_trayTip);
}

void CSensorDlg::SetTrayEntry(bool add) {
    NOTIFYICONDATAA record;
    PrepareTrayRecord(record);
    m_trayShown = add;
    if (!add) {
        ::Shell_NotifyIconA(NIM_DELETE, &record);
        return;
    }
    m_trayIcon = m_hIcon;
    m_trayTip = kDetectingTip;
    PrepareShownRecord(record);

    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    // A busy shell that timed out may still have added the entry.
    if (::GetLastError() == ERROR_TIMEOUT) return;
    // The shell may still be starting: wait for it and try again.
    ::Sleep(TRAY_RETRY_DELAY_MS);
    if (::Shell_NotifyIconA(NIM_MODIFY, &record)) return;
    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    AfxMessageBox("Set TaskTray err!", MB_ICONEXCLAMATION | MB_OK);
}

// A restarted shell has forgotten the entry: add it again as it was. Where
// the shell still has it, the add fails and the entry is brought up to date.
LRESULT CSensorDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    if (!m_trayShown) return 0;
    NOTIFYICONDATAA record;
    PrepareShownRecord(record);
    if (!::Shell_NotifyIconA(NIM_ADD, &record)) ::Shell_NotifyIconA(NIM_MODIFY, &record);
    return 0;
}

void CSensorDlg::OnExitCommand() {
    SetTrayEntry(false);
    CDialog::OnOK();
}

// The system may end the process as soon as this returns: do what Exit does
// now, so the settings and the catalog are saved.
LRESULT CSensorDlg::OnEndSession(WPARAM ending, LPARAM) {
    if (!ending) return 0;
    SetTrayEntry(false);
    SaveSettings();
    EndDialog(IDOK);
    return 0;
}

// The hidden OK button (WM_COMMAND IDOK) ends the dialog as Exit does.
void CSensorDlg::OnOK() {
    SetTrayEntry(false);
    CDialog::OnOK();
}

// Escape ends the modal loop through here; remove the tray entry as Exit
// does, or a dead icon stays behind after the program has ended.
void CSensorDlg::OnCancel() {
    SetTrayEntry(false);
    CDialog::OnCancel();
}
