// The notification area: "tray" event lines, entry bookkeeping, and the
// "tray" input command that sends mouse activity to the entry's window.
#include "desktop_fixture.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr UINT kTrayNotify = 0x8069;

NOTIFYICONDATAA Record(HWND hwnd, UINT id, UINT flags, HICON icon, const char* tip) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = kTrayNotify;
    data.hIcon = icon;
    if (tip) std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return data;
}

class TrayTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        hwnd = dialog.Create();
        app = LoadIconA(nullptr, MAKEINTRESOURCE(128));
        ready = LoadIconA(nullptr, MAKEINTRESOURCE(130));
    }
    void TearDown() override {
        DestroyIcon(app);
        DestroyIcon(ready);
        DesktopTest::TearDown();
    }
    TestDialog dialog;
    HWND hwnd = nullptr;
    HICON app = nullptr;
    HICON ready = nullptr;
};

TEST_F(TrayTest, AddModifyDelete_PrintOneLineEach) {
    auto data = Record(hwnd, 128, NIF_MESSAGE | NIF_ICON | NIF_TIP, app, "Detecting Senser...");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    data = Record(hwnd, 128, NIF_MESSAGE | NIF_ICON | NIF_TIP, ready, "Sensor name : GPS\nSensor status : SENSOR_STATE_READY");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    EXPECT_EQ(events.lines, (std::vector<std::string>{
                                "tray add 128 icon=app tip=Detecting Senser...",
                                "tray modify 128 icon=builtin:130 tip=Sensor name : GPS\\nSensor status : SENSOR_STATE_READY",
                                "tray delete 128",
                            }));
    EXPECT_TRUE(desktop::TrayEntries().empty());
}

TEST_F(TrayTest, DuplicateAddAndUnknownModifyOrDelete_FailAndPrintNothing) {
    auto data = Record(hwnd, 128, NIF_ICON, app, nullptr);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    auto other = Record(hwnd, 129, NIF_ICON, app, nullptr);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &other));
    EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &other));
    EXPECT_EQ(events.lines, std::vector<std::string>{"tray add 128 icon=app tip="});
}

TEST_F(TrayTest, ModifyWithoutIconOrTipFlags_KeepsTheOldOnes) {
    auto data = Record(hwnd, 128, NIF_ICON | NIF_TIP, app, "first");
    Shell_NotifyIconA(NIM_ADD, &data);
    data = Record(hwnd, 128, NIF_TIP, ready, "second");
    Shell_NotifyIconA(NIM_MODIFY, &data);
    data = Record(hwnd, 128, NIF_ICON, ready, "third");
    Shell_NotifyIconA(NIM_MODIFY, &data);
    EXPECT_EQ(events.lines[1], "tray modify 128 icon=app tip=second");
    EXPECT_EQ(events.lines[2], "tray modify 128 icon=builtin:130 tip=second");
    const auto entries = desktop::TrayEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].icon, ready);
    EXPECT_EQ(entries[0].tip, "second");
    EXPECT_EQ(entries[0].callbackMessage, 0u);  // NIF_MESSAGE was never given
}

TEST_F(TrayTest, TipWithoutTerminator_IsCutAt127Characters) {
    auto data = Record(hwnd, 128, NIF_TIP, nullptr, nullptr);
    std::memset(data.szTip, 'x', sizeof data.szTip);
    Shell_NotifyIconA(NIM_ADD, &data);
    EXPECT_EQ(events.lines.at(0), "tray add 128 icon=none tip=" + std::string(127, 'x'));
    EXPECT_EQ(desktop::TrayEntries().at(0).tip.size(), 127u);
}

TEST_F(TrayTest, FailureHook_FailsEveryCallWithTheGivenError) {
    desktop::SetTrayFailure(ERROR_TIMEOUT);
    auto data = Record(hwnd, 128, NIF_ICON, app, nullptr);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    desktop::SetTrayFailure(0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
    EXPECT_EQ(events.lines.size(), 1u);
}

TEST_F(TrayTest, TrayInput_PostsTheCallbackWithIdAndMouseMessageToTheNewestEntry) {
    auto older = Record(hwnd, 7, NIF_MESSAGE, nullptr, nullptr);
    older.uCallbackMessage = WM_APP + 1;
    Shell_NotifyIconA(NIM_ADD, &older);
    auto data = Record(hwnd, 128, NIF_MESSAGE | NIF_ICON, app, nullptr);
    Shell_NotifyIconA(NIM_ADD, &data);

    std::vector<std::pair<WPARAM, LPARAM>> notifications;
    dialog.onMessage = [&](TestDialog&, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kTrayNotify) notifications.emplace_back(wParam, lParam);
    };
    Type("tray lbuttondown\ntray lbuttonup\ntray lbuttondblclk\ntray rbuttondown\ntray rbuttonup\n"
         "tray rbuttondblclk\ntray 512\ncommand 2\n");
    dialog.RunModal();
    const std::vector<std::pair<WPARAM, LPARAM>> expected{
        {128, WM_LBUTTONDOWN}, {128, WM_LBUTTONUP}, {128, WM_LBUTTONDBLCLK}, {128, WM_RBUTTONDOWN},
        {128, WM_RBUTTONUP},   {128, WM_RBUTTONDBLCLK}, {128, WM_MOUSEMOVE}};
    EXPECT_EQ(notifications, expected);
    EXPECT_TRUE(errors.lines.empty());
}

// A balloon prints its title and text alone when nothing else changes; it
// can be clicked once, and only while it is shown.
TEST_F(TrayTest, Balloon_PrintsInfoLineAndTakesOneClick) {
    auto data = Record(hwnd, 128, NIF_MESSAGE | NIF_ICON | NIF_TIP, app, "tip");
    Shell_NotifyIconA(NIM_ADD, &data);
    data = Record(hwnd, 128, NIF_INFO, nullptr, nullptr);
    std::strcpy(data.szInfoTitle, "Position fix");
    std::strcpy(data.szInfo, "Sensor name : GPS\nafter 4 s");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
    data.uFlags = NIF_INFO | NIF_TIP;
    std::strcpy(data.szTip, "new tip");
    std::strcpy(data.szInfo, "a\\b");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
    EXPECT_EQ(events.lines, (std::vector<std::string>{
                                "tray add 128 icon=app tip=tip",
                                "tray modify 128 info=Position fix\\nSensor name : GPS\\nafter 4 s",
                                "tray modify 128 icon=app tip=new tip",
                                "tray modify 128 info=Position fix\\na\\\\b",
                            }));

    std::vector<LPARAM> notifications;
    dialog.onMessage = [&](TestDialog&, UINT message, WPARAM, LPARAM lParam) {
        if (message == kTrayNotify) notifications.push_back(lParam);
    };
    Type("tray balloonclick\ntray balloonclick\ncommand 2\n");
    dialog.RunModal();
    EXPECT_EQ(notifications, std::vector<LPARAM>{NIN_BALLOONUSERCLICK});
    EXPECT_EQ(errors.lines, std::vector<std::string>{"error: tray: no balloon is shown"});
}

TEST_F(TrayTest, TrayInput_WithoutAnEntry_PrintsAnError) {
    Type("tray lbuttondown\ncommand 2\n");
    dialog.RunModal();
    EXPECT_EQ(errors.lines, std::vector<std::string>{"error: tray: there is no tray entry"});
}

TEST_F(TrayTest, EntryHoldingADestroyedIcon_IsVisibleThroughTheHooks) {
    HICON extra = ExtractIconA(nullptr, ICONS_DIR "/not_ready.ico", 0);
    auto data = Record(hwnd, 128, NIF_ICON, extra, nullptr);
    Shell_NotifyIconA(NIM_ADD, &data);
    EXPECT_TRUE(desktop::IconIsAlive(desktop::TrayEntries().at(0).icon));
    DestroyIcon(extra);
    EXPECT_FALSE(desktop::IconIsAlive(desktop::TrayEntries().at(0).icon));
}

}  // namespace
