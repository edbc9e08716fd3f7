// Dialog creation, showing and hiding, dialog-procedure results, and the
// keyboard and command input that reaches a dialog through the modal loop.
#include "desktop_fixture.h"

namespace {

using DialogTest = DesktopTest;

TEST_F(DialogTest, Create_SendsInitDialogWithTheInitParamThenShowsTheWindow) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    ASSERT_TRUE(hwnd);
    EXPECT_EQ(dialog.hwnd, hwnd);
    ASSERT_FALSE(dialog.received.empty());
    EXPECT_EQ(dialog.received.front().message, static_cast<UINT>(WM_INITDIALOG));
    EXPECT_EQ(dialog.received.front().lParam, reinterpret_cast<LPARAM>(&dialog));
    EXPECT_EQ(dialog.MessagesNamed(WM_WINDOWPOSCHANGING).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_EXSTYLE), WS_EX_APPWINDOW);
    EXPECT_FALSE(IsIconic(hwnd));
}

TEST_F(DialogTest, ClearingShowWindowInPosChanging_KeepsTheWindowHiddenForEveryShow) {
    TestDialog dialog;
    dialog.stayHidden = true;
    HWND hwnd = dialog.Create();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_SHOW);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    dialog.stayHidden = false;
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(DialogTest, WindowLongs_KeepTheirValuesAndReturnThePreviousOne) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    EXPECT_EQ(SetWindowLongPtrA(hwnd, GWL_EXSTYLE, exStyle & ~WS_EX_APPWINDOW), exStyle);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 77);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 77);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, DWLP_USER), reinterpret_cast<LONG_PTR>(&dialog));

    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, 12345), 0);
    EXPECT_NE(GetLastError(), 0u);
}

TEST_F(DialogTest, HandledMessage_ResultComesFromMsgResult_UnhandledGoesToDefaultProcessing) {
    TestDialog dialog;
    dialog.onMessage = [](TestDialog& self, UINT message, WPARAM, LPARAM) {
        if (message == WM_APP) SetWindowLongPtrA(self.hwnd, DWLP_MSGRESULT, 1234);
    };
    // The test dialog returns FALSE for WM_APP: its DWLP_MSGRESULT is ignored.
    HWND hwnd = dialog.Create();
    EXPECT_EQ(SendMessageA(hwnd, WM_APP, 0, 0), 0);

    // Returning TRUE makes DWLP_MSGRESULT the result.
    auto handling = [](HWND h, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_APP) return FALSE;
        SetWindowLongPtrA(h, DWLP_MSGRESULT, 1234);
        return TRUE;
    };
    HWND other = CreateDialogParamA(nullptr, MAKEINTRESOURCE(102), nullptr, handling, 0);
    EXPECT_EQ(SendMessageA(other, WM_APP, 0, 0), 1234);

    // Default processing keeps the window icons.
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCE(128));
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    EXPECT_EQ(SendMessageA(hwnd, 0x007F /* WM_GETICON */, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(SendMessageA(hwnd, 0x007F, ICON_SMALL, 0), 0);
    DestroyIcon(icon);
}

TEST_F(DialogTest, EscapeKey_PassesIsDialogMessageAsCancel) {
    TestDialog dialog;
    Type("key escape\n");
    EXPECT_EQ(dialog.RunModal(), IDCANCEL);
    EXPECT_EQ(dialog.MessagesNamed(WM_COMMAND), std::vector<UINT>{IDCANCEL});
    EXPECT_TRUE(errors.lines.empty());
}

TEST_F(DialogTest, ReturnAndSpace_PressOk_UnlessPreTranslateSwallowsThem) {
    TestDialog swallowing;
    swallowing.swallowReturnSpace = true;
    Type("key return\nkey space\ncommand 2\n");
    EXPECT_EQ(swallowing.RunModal(), IDCANCEL);
    EXPECT_EQ(swallowing.MessagesNamed(WM_COMMAND), std::vector<UINT>{IDCANCEL});

    TestDialog plain;
    Type("key space\n");
    EXPECT_EQ(plain.RunModal(), IDOK);
}

TEST_F(DialogTest, CommandInput_PostsWmCommandToTheNewestDialog) {
    TestDialog first;
    first.Create();
    TestDialog second;
    Type("command 32772\ncommand 1\n");
    EXPECT_EQ(second.RunModal(), IDOK);
    EXPECT_EQ(second.MessagesNamed(WM_COMMAND), (std::vector<UINT>{32772, IDOK}));
    EXPECT_TRUE(first.MessagesNamed(WM_COMMAND).empty());
}

TEST_F(DialogTest, Close_IsTurnedIntoCancelByDefaultProcessing) {
    TestDialog dialog;
    dialog.Create();
    PostMessageA(dialog.hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.RunModal(), IDCANCEL);
    EXPECT_TRUE(IsWindow(dialog.hwnd));
}

TEST_F(DialogTest, DestroyedWindow_GetsWmDestroyThenNothingMore) {
    TestDialog dialog;
    HWND hwnd = dialog.Create();
    SetTimer(hwnd, 1, 10, nullptr);
    PostMessageA(hwnd, WM_APP, 0, 0);
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(dialog.received.back().message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_FALSE(PostMessageA(hwnd, WM_APP, 0, 0));

    // The message posted before is still delivered, to nobody; the timer is gone.
    const std::size_t count = dialog.received.size();
    MSG msg;
    PostQuitMessage(0);
    ASSERT_EQ(PumpOne(&msg), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    EXPECT_EQ(PumpOne(&msg), FALSE);
    EXPECT_EQ(dialog.received.size(), count);
    EXPECT_FALSE(KillTimer(hwnd, 1));
}

}  // namespace
