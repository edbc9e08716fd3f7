#include "sensor_dlg.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "resource.h"
#include "sensor_events.h"
#include "tray_constants.h"

const char kDetectingTip[] = "Detecting Senser...";

BEGIN_MESSAGE_MAP(CSensorDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_MESSAGE(WM_TIMER, &CSensorDlg::OnTrayTimer)
ON_MESSAGE(WM_TRAYNOTIFY, &CSensorDlg::OnTrayNotify)
ON_WM_WINDOWPOSCHANGING()
ON_COMMAND(ID_TRAY_EXIT, &CSensorDlg::OnExitCommand)
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

void CSensorDlg::SetTrayEntry(bool add) {
    NOTIFYICONDATAA record;
    PrepareTrayRecord(record);
    if (!add) {
        ::Shell_NotifyIconA(NIM_DELETE, &record);
        return;
    }
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAYNOTIFY;
    record.hIcon = m_hIcon;
    std::snprintf(record.szTip, TRAY_TIP_MAX + 1, "%s", kDetectingTip);

    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    // A busy shell that timed out may still have added the entry.
    if (::GetLastError() == ERROR_TIMEOUT) return;
    // The shell may still be starting: wait for it and try again.
    ::Sleep(TRAY_RETRY_DELAY_MS);
    if (::Shell_NotifyIconA(NIM_MODIFY, &record)) return;
    if (::Shell_NotifyIconA(NIM_ADD, &record)) return;
    AfxMessageBox("Set TaskTray err!", MB_ICONEXCLAMATION | MB_OK);
}

void CSensorDlg::OnExitCommand() {
    SetTrayEntry(false);
    OnOK();
}

// Escape ends the modal loop through here; remove the tray entry as Exit
// does, or a dead icon stays behind after the program has ended.
void CSensorDlg::OnCancel() {
    SetTrayEntry(false);
    CDialog::OnCancel();
}
