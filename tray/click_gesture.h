// ClickGesture: turns the tray entry's mouse messages and the expiry of its
// two timers into gestures. A left double-click shows the map; a right click
// (not a double-click) opens the menu. Both buttons share one click state.
#pragma once

#include <windows.h>

// Both run for the double-click time.
constexpr UINT_PTR TIMER_LEFT_CLICK = 204;
constexpr UINT_PTR TIMER_RIGHT_CLICK = 205;

enum ClickState : int {
    CLICK_IDLE = 0,
    CLICK_PRESSED = 1,   // a button went down; its timer is running
    CLICK_RELEASED = 2,  // it came up before its timer ran out
    CLICK_HELD = 3,      // the timer ran out while it was still down
};

enum TrayAction : int {
    TRAY_ACTION_NONE = 0,
    TRAY_ACTION_MAP = 1,
    TRAY_ACTION_MENU = 2,
};

// What to do for one message, in this order.
struct ClickSteps {
    UINT_PTR stopTimer = 0;
    UINT_PTR startTimer = 0;
    TrayAction action = TRAY_ACTION_NONE;
    // The menu of a right click is opened while the state still says
    // released; it returns to idle once the menu has closed.
    bool idleAfterAction = false;
};

class ClickGesture {
public:
    ClickSteps OnMouse(UINT message);
    ClickSteps OnTimer(UINT_PTR timerId);
    void Reset() { m_state = CLICK_IDLE; }
    ClickState State() const { return m_state; }

private:
    ClickSteps Press(UINT_PTR timerId);

    ClickState m_state = CLICK_IDLE;
};
