#pragma once

#include <windows.h>

// The notification-area entry and the window's private message and timers.
constexpr UINT TRAY_ENTRY_ID = 128;
constexpr UINT WM_TRAYNOTIFY = WM_APP + 0x69;
constexpr size_t TRAY_TIP_MAX = 127;
constexpr UINT_PTR TIMER_LEFT_CLICK = 204;
constexpr UINT_PTR TIMER_RIGHT_CLICK = 205;
constexpr DWORD TRAY_RETRY_DELAY_MS = 2000;

// The click state shared by both mouse buttons.
enum ClickState : int {
    CLICK_IDLE = 0,
    CLICK_PRESSED = 1,   // a button went down; its timer is running
    CLICK_RELEASED = 2,  // it came up before its timer ran out
    CLICK_HELD = 3,      // the timer ran out while it was still down
};

enum TrayAction : int {
    TRAY_ACTION_MAP = 1,
    TRAY_ACTION_MENU = 2,
};

extern const char kDetectingTip[];
extern const char kDefaultSensorId[];
