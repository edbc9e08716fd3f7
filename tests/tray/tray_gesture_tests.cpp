#include <gtest/gtest.h>

#include "recording_dialog.h"
#include "click_gesture.h"

namespace {

class TrayGestureTest : public ::testing::Test {
protected:
    TrayGestureTest() : app("gesture_tests") {}

    void Send(UINT mouseMessage) { dialog.OnTrayNotify(TRAY_ENTRY_ID, mouseMessage); }
    void Expire(UINT_PTR timer) { dialog.OnTrayTimer(timer, 0); }

    TestApp app;
    RecordingDialog dialog;
};

TEST_F(TrayGestureTest, RightClick_OpensMenuOnlyWhenItsTimerRunsOut) {
    Send(WM_RBUTTONDOWN);
    Send(WM_RBUTTONUP);
    EXPECT_TRUE(dialog.actions.empty());
    Expire(TIMER_RIGHT_CLICK);
    EXPECT_EQ(dialog.actions, std::vector<int>{TRAY_ACTION_MENU});
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
}

TEST_F(TrayGestureTest, RightDoubleClick_OpensNothing) {
    Send(WM_RBUTTONDOWN);
    Send(WM_RBUTTONUP);
    Send(WM_RBUTTONDBLCLK);
    Send(WM_RBUTTONUP);
    EXPECT_TRUE(dialog.actions.empty());
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
}

TEST_F(TrayGestureTest, RightPressHeldPastDoubleClickTime_OpensMenuOnRelease) {
    Send(WM_RBUTTONDOWN);
    Expire(TIMER_RIGHT_CLICK);
    EXPECT_EQ(dialog.ClickState(), CLICK_HELD);
    EXPECT_TRUE(dialog.actions.empty());
    Send(WM_RBUTTONUP);
    EXPECT_EQ(dialog.actions, std::vector<int>{TRAY_ACTION_MENU});
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
}

TEST_F(TrayGestureTest, LeftDoubleClick_RunsMapOnce) {
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    Send(WM_LBUTTONDBLCLK);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(dialog.actions, std::vector<int>{TRAY_ACTION_MAP});
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
}

TEST_F(TrayGestureTest, LeftSingleClickOrLongPress_DoesNothing) {
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    Expire(TIMER_LEFT_CLICK);
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);

    Send(WM_LBUTTONDOWN);
    Expire(TIMER_LEFT_CLICK);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
    EXPECT_TRUE(dialog.actions.empty());
}

TEST_F(TrayGestureTest, OtherButtonPressedDuringWait_IsIgnored) {
    Send(WM_RBUTTONDOWN);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(dialog.ClickState(), CLICK_PRESSED);
    // Its release acts on the shared state, as the right button's would.
    Send(WM_LBUTTONUP);
    EXPECT_EQ(dialog.ClickState(), CLICK_RELEASED);
    Expire(TIMER_RIGHT_CLICK);
    EXPECT_EQ(dialog.actions, std::vector<int>{TRAY_ACTION_MENU});
}

TEST_F(TrayGestureTest, UnknownMouseMessagesAndTimers_ChangeNothing) {
    Send(WM_MOUSEMOVE);
    Expire(999);
    EXPECT_EQ(dialog.ClickState(), CLICK_IDLE);
    EXPECT_TRUE(dialog.actions.empty());
}

}  // namespace
