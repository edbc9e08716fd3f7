// Turns the tray entry's raw mouse messages into two gestures: a left
// double-click shows the map, a right click (not a double-click) opens the
// popup menu. Both buttons share one click state and the double-click time.
#include "resource.h"
#include "sensor_dlg.h"
#include "tray_constants.h"

LRESULT CSensorDlg::OnTrayNotify(WPARAM, LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
        if (m_clickState == CLICK_IDLE) {
            m_clickState = CLICK_PRESSED;
            SetTimer(TIMER_LEFT_CLICK, ::GetDoubleClickTime());
        }
        break;
    case WM_LBUTTONUP:
        m_clickState = m_clickState == CLICK_PRESSED ? CLICK_RELEASED : CLICK_IDLE;
        break;
    case WM_LBUTTONDBLCLK:
        KillTimer(TIMER_LEFT_CLICK);
        m_clickState = CLICK_IDLE;
        RunTrayAction(TRAY_ACTION_MAP);
        break;
    case WM_RBUTTONDOWN:
        if (m_clickState == CLICK_IDLE) {
            m_clickState = CLICK_PRESSED;
            SetTimer(TIMER_RIGHT_CLICK, ::GetDoubleClickTime());
        }
        break;
    case WM_RBUTTONUP:
        if (m_clickState == CLICK_PRESSED) {
            m_clickState = CLICK_RELEASED;
        } else if (m_clickState == CLICK_HELD) {
            m_clickState = CLICK_IDLE;
            RunTrayAction(TRAY_ACTION_MENU);
        } else {
            m_clickState = CLICK_IDLE;
        }
        break;
    case WM_RBUTTONDBLCLK:
        KillTimer(TIMER_RIGHT_CLICK);
        m_clickState = CLICK_IDLE;
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CSensorDlg::OnTrayTimer(WPARAM timerId, LPARAM) {
    if (timerId == TIMER_LEFT_CLICK) {
        KillTimer(TIMER_LEFT_CLICK);
        // A single left click does nothing.
        if (m_clickState == CLICK_RELEASED)
            m_clickState = CLICK_IDLE;
        else if (m_clickState == CLICK_PRESSED)
            m_clickState = CLICK_HELD;
    } else if (timerId == TIMER_RIGHT_CLICK) {
        KillTimer(TIMER_RIGHT_CLICK);
        if (m_clickState == CLICK_RELEASED) {
            RunTrayAction(TRAY_ACTION_MENU);
            m_clickState = CLICK_IDLE;
        } else if (m_clickState == CLICK_PRESSED) {
            m_clickState = CLICK_HELD;
        }
    }
    return Default();
}

void CSensorDlg::RunTrayAction(int kind) {
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
