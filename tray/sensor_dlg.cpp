#include "sensor_dlg.h"

#include <sensorsapi.h>
#include <shellapi.h>

#include "map_action.h"
#include "resource.h"
#include "extras_settings.h"
#include "sensor_registry.h"
#include "tray_tooltip.h"

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
      m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_trayEntry(*this),
      m_extras(*this, m_trayEntry) {
    LoadSettings();
}

CSensorDlg::~CSensorDlg() = default;

BOOL CSensorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    ModifyStyleEx(WS_EX_APPWINDOW, 0);
    SetTrayEntry(true);

    m_registry = std::make_unique<CSensorManagerEvents>(this);
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

void CSensorDlg::LoadSettings() {
    m_settings.Load();
    m_extras.Configure(ReadExtrasSettings(m_settings.Path()));
}

ULONG CSensorDlg::SaveSettings() {
    HRESULT result = S_OK;
    if (m_registry) {
        result = m_registry->StopWatching();
        m_registry.reset();
    }
    m_settings.Save();
    return static_cast<ULONG>(result);
}

void CSensorDlg::SetTrayEntry(bool add) {
    if (add)
        m_trayEntry.Add(m_hIcon);
    else
        m_trayEntry.Delete();
}

// A restarted shell has forgotten the entry: add it again as it was.
LRESULT CSensorDlg::OnTaskbarCreated(WPARAM, LPARAM) {
    m_trayEntry.Restore();
    return 0;
}

ULONG CSensorDlg::OnSensorStatus(const GUID& id, const SensorStatus& status) {
    m_settings.RecordSensor(id, status.name);
    if (!m_settings.IsTracked(id)) return 0;
    ShowTrackedStatus(status);
    return 0;
}

void CSensorDlg::OnSensorLeft(const GUID& id) {
    if (!m_settings.IsTracked(id)) return;
    SensorStatus gone;
    gone.name = m_settings.CatalogName(id);
    gone.state = SENSOR_STATE_NOT_AVAILABLE;
    ShowTrackedStatus(gone);
}

void CSensorDlg::ShowTrackedStatus(const SensorStatus& status) {
    const bool ready = status.state == SENSOR_STATE_READY;
    m_trayEntry.ShowStatus(m_settings.IconFile(ready), m_settings.IconIndex(ready),
                           ready ? IDI_SENSOR_READY : IDI_SENSOR_NOT_READY,
                           BuildTrayTooltip(status));
    m_extras.OnTrackedStatus(status);
}

LRESULT CSensorDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
    // A click on a balloon is no click on the icon: the gesture never sees it.
    if (LOWORD(lParam) == NIN_BALLOONUSERCLICK) {
        m_extras.OnBalloonClick();
        return 0;
    }
    FollowClickSteps(m_clickGesture.OnMouse(LOWORD(lParam)));
    return 0;
}

LRESULT CSensorDlg::OnTrayTimer(WPARAM timerId, LPARAM) {
    if (timerId == TIMER_EXTRAS)
        m_extras.OnTimer();
    else
        FollowClickSteps(m_clickGesture.OnTimer(timerId));
    return Default();
}

void CSensorDlg::FollowClickSteps(const ClickSteps& steps) {
    if (steps.stopTimer) KillTimer(steps.stopTimer);
    if (steps.startTimer) SetTimer(steps.startTimer, ::GetDoubleClickTime());
    if (steps.action != TRAY_ACTION_NONE) RunTrayAction(steps.action);
    if (steps.idleAfterAction) m_clickGesture.Reset();
}

void CSensorDlg::RunTrayAction(TrayAction kind) {
    if (kind == TRAY_ACTION_MAP) {
        ShowPositionOnMap();
        return;
    }
    if (kind != TRAY_ACTION_MENU) return;

    POINT cursor{};
    ::GetCursorPos(&cursor);
    // The window must be in the foreground, or the menu does not close when
    // the user clicks elsewhere.
    SetForegroundWindow();
    CMenu menu;
    if (!menu.LoadMenu(IDR_TRAYMENU)) return;
    if (CMenu* popup = menu.GetSubMenu(0)) popup->TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    PostMessage(WM_NULL);
    menu.DestroyMenu();
}

void CSensorDlg::ShowPositionOnMap() { ShowCurrentPositionOnMap(m_hWnd); }

void CSensorDlg::OnExitCommand() {
    SetTrayEntry(false);
    CDialog::OnOK();
}

// The system may end the process as soon as this returns: do what Exit does
// now, so the settings and the catalog are saved.
LRESULT CSensorDlg::OnEndSession(WPARAM ending, LPARAM) {
    if (!ending) return 0;
    SetTrayEntry(false);
    m_extras.Finish();
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
