#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "click_gesture.h"

namespace {

// The double-click time passes: every running timer expires.
constexpr UINT WAIT = 0;

// Feeds the gesture as the dialog does, with timers that keep firing until
// they are stopped, as Windows timers do.
struct GestureRun {
    void Follow(const ClickSteps& steps) {
        if (steps.stopTimer) timers.erase(steps.stopTimer);
        if (steps.startTimer) timers.insert(steps.startTimer);
        if (steps.action != TRAY_ACTION_NONE) {
            actions.push_back(steps.action);
            statesDuringActions.push_back(gesture.State());
        }
        if (steps.idleAfterAction) gesture.Reset();
    }
    void Send(UINT event) {
        if (event != WAIT) return Follow(gesture.OnMouse(event));
        for (UINT_PTR timer : std::set<UINT_PTR>(timers)) Follow(gesture.OnTimer(timer));
    }

    ClickGesture gesture;
    std::set<UINT_PTR> timers;
    std::vector<TrayAction> actions;
    std::vector<ClickState> statesDuringActions;
};

struct GestureCase {
    const char* name;
    std::vector<UINT> events;
    std::vector<TrayAction> actions;
};

const GestureCase kCases[] = {
    {"right click", {WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT}, {TRAY_ACTION_MENU}},
    {"right double-click", {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_RBUTTONUP, WAIT}, {}},
    {"right press held", {WM_RBUTTONDOWN, WAIT, WM_RBUTTONUP}, {TRAY_ACTION_MENU}},
    {"left double-click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WAIT}, {TRAY_ACTION_MAP}},
    {"left click", {WM_LBUTTONDOWN, WM_LBUTTONUP, WAIT}, {}},
    {"left press held", {WM_LBUTTONDOWN, WAIT, WM_LBUTTONUP}, {}},
    {"left press in a right click", {WM_RBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONUP, WAIT}, {TRAY_ACTION_MENU}},
    {"right press in a left click", {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT}, {}},
    {"map then menu",
     {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT},
     {TRAY_ACTION_MAP, TRAY_ACTION_MENU}},
    {"two right clicks", {WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT, WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT},
     {TRAY_ACTION_MENU, TRAY_ACTION_MENU}},
    {"other messages", {WM_MOUSEMOVE, WAIT}, {}},
};

TEST(ClickGesture, EveryGesture_RunsItsActionsAndEndsIdleWithNoTimerLeft) {
    for (const GestureCase& gestureCase : kCases) {
        GestureRun run;
        for (UINT event : gestureCase.events) run.Send(event);
        EXPECT_EQ(run.actions, gestureCase.actions) << gestureCase.name;
        EXPECT_EQ(run.gesture.State(), CLICK_IDLE) << gestureCase.name;
        EXPECT_TRUE(run.timers.empty()) << gestureCase.name;
    }
}

// Tray messages that arrive while the menu is open find the click still
// released, so a press there starts no new gesture.
TEST(ClickGesture, RightClickMenu_OpensWhileTheClickStillCountsAsReleased) {
    GestureRun run;
    for (UINT event : std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WAIT}) run.Send(event);
    EXPECT_EQ(run.statesDuringActions, std::vector<ClickState>{CLICK_RELEASED});
}

}  // namespace
