#include "click_gesture.h"

ClickSteps ClickGesture::Press(UINT_PTR timerId) {
    // A press during the other button's wait is ignored.
    if (m_state != CLICK_IDLE) return {};
    m_state = CLICK_PRESSED;
    return {.startTimer = timerId};
}

ClickSteps ClickGesture::OnMouse(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return Press(TIMER_LEFT_CLICK);
    case WM_RBUTTONDOWN:
        return Press(TIMER_RIGHT_CLICK);
    case WM_LBUTTONUP:
        m_state = m_state == CLICK_PRESSED ? CLICK_RELEASED : CLICK_IDLE;
        return {};
    case WM_RBUTTONUP:
        // Held past the double-click time: the menu opens on release.
        if (m_state == CLICK_HELD) {
            m_state = CLICK_IDLE;
            return {.action = TRAY_ACTION_MENU};
        }
        m_state = m_state == CLICK_PRESSED ? CLICK_RELEASED : CLICK_IDLE;
        return {};
    case WM_LBUTTONDBLCLK:
        m_state = CLICK_IDLE;
        return {.stopTimer = TIMER_LEFT_CLICK, .action = TRAY_ACTION_MAP};
    case WM_RBUTTONDBLCLK:
        m_state = CLICK_IDLE;
        return {.stopTimer = TIMER_RIGHT_CLICK};
    default:
        return {};
    }
}

ClickSteps ClickGesture::OnTimer(UINT_PTR timerId) {
    if (timerId != TIMER_LEFT_CLICK && timerId != TIMER_RIGHT_CLICK) return {};
    ClickSteps steps{.stopTimer = timerId};
    if (m_state == CLICK_PRESSED) {
        m_state = CLICK_HELD;
    } else if (m_state == CLICK_RELEASED && timerId == TIMER_RIGHT_CLICK) {
        steps.action = TRAY_ACTION_MENU;
        steps.idleAfterAction = true;
    } else if (m_state == CLICK_RELEASED) {
        // A single left click does nothing.
        m_state = CLICK_IDLE;
    }
    return steps;
}
