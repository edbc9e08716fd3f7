// Menus from the compiled resource script, and popup menus answered by the
// "choose" command while the menu's loop goes on serving messages.
#include "desktop_fixture.h"
#include "desktop/desktop_resources.h"

#include <shellapi.h>

namespace {

using MenuTest = DesktopTest;
using desktop::MenuEntryKind;

TEST(MenuResources, CompiledScript_GivesItsMenusWithTheirIdsAndTexts) {
    const desktop::MenuResource* menu = desktop::FindMenuResource(MAKEINTRESOURCE(200));
    ASSERT_NE(menu, nullptr);
    struct Expected {
        int depth;
        MenuEntryKind kind;
        std::string text;
        UINT id;
    };
    const std::vector<Expected> expected{
        {0, MenuEntryKind::Popup, "&File", 0},
        {1, MenuEntryKind::Item, "&Open\tCtrl+O", 0x9001},
        {1, MenuEntryKind::Separator, "", 0},
        {1, MenuEntryKind::Popup, "Recent; [files]", 0},
        {2, MenuEntryKind::Item, "say \"hi\" \"there\"", 40002},
        {1, MenuEntryKind::Item, "C:\\path", 40003},
        {0, MenuEntryKind::Item, "Local", 7},
        {0, MenuEntryKind::Item, "Twice", 14},
    };
    ASSERT_EQ(menu->entryCount, expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& entry = menu->entries[i];
        EXPECT_EQ(entry.depth, expected[i].depth) << i;
        EXPECT_EQ(entry.kind, expected[i].kind) << i;
        EXPECT_EQ(entry.text ? entry.text : "", expected[i].text) << i;
        EXPECT_EQ(entry.id, expected[i].id) << i;
    }
}

TEST(MenuResources, NamesAndNumbers_FindTheirMenus_OthersFindNone) {
    EXPECT_NE(desktop::FindMenuResource("namedmenu"), nullptr);
    EXPECT_EQ(desktop::FindMenuResource("#200"), desktop::FindMenuResource(MAKEINTRESOURCE(200)));
    ASSERT_NE(desktop::FindMenuResource("EMPTYMENU"), nullptr);
    EXPECT_EQ(desktop::FindMenuResource("EMPTYMENU")->entryCount, 0u);
    EXPECT_EQ(desktop::FindMenuResource(MAKEINTRESOURCE(201)), nullptr);  // a dialog
    SetLastError(0);
    EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_NE(GetLastError(), 0u);
}

// A compiled resource file cut short anywhere inside a record is refused as
// a whole, and never read past its end (each cut is its own allocation).
TEST(MenuResources, ResourceFileCutInsideARecord_IsRefused) {
    const std::vector<unsigned char> file{
        0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0,  // the empty first record
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        20, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 4, 0, 0xFF, 0xFF, 0x2C, 1,  // RT_MENU 300, 20 bytes
        0, 0, 0, 0, 0x30, 0x10, 0x09, 0x04, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0,                                // template header
        0x90, 0, 'P', 0, 'q', 0, 0, 0,             // POPUP "Pq", the last at its level
        0x80, 0, 1, 0, 'A', 0, 0, 0,               // MENUITEM "A", 1, the last in the popup
    };
    for (std::size_t size = 1; size < file.size(); ++size) {
        const std::vector<unsigned char> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(desktop::RegisterResources(cut.data(), cut.size()), size == 32) << size;
    }
    EXPECT_EQ(desktop::FindMenuResource(MAKEINTRESOURCE(300)), nullptr);
    ASSERT_TRUE(desktop::RegisterResources(file.data(), file.size()));
    const desktop::MenuResource* menu = desktop::FindMenuResource(MAKEINTRESOURCE(300));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->entryCount, 2u);
    EXPECT_EQ(menu->entries[0].kind, MenuEntryKind::Popup);
    EXPECT_STREQ(menu->entries[0].text, "Pq");
    EXPECT_EQ(menu->entries[1].depth, 1);
    EXPECT_STREQ(menu->entries[1].text, "A");
    EXPECT_EQ(menu->entries[1].id, 1u);
}

TEST_F(MenuTest, LoadedMenu_HasItsPopupsAsSubMenus) {
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCE(200));
    ASSERT_TRUE(menu);
    EXPECT_TRUE(GetSubMenu(menu, 0));
    EXPECT_FALSE(GetSubMenu(menu, 1));  // "Local" is a command
    EXPECT_FALSE(GetSubMenu(menu, 3));
    EXPECT_TRUE(DestroyMenu(menu));
}

class PopupTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        owner.Create();
        menu = LoadMenuA(nullptr, "NamedMenu");
        ASSERT_TRUE(menu);
    }
    void TearDown() override {
        DestroyMenu(menu);
        DesktopTest::TearDown();
    }
    BOOL Track(UINT flags = TPM_RIGHTBUTTON) {
        return TrackPopupMenu(GetSubMenu(menu, 0), flags, 0, 0, 0, owner.hwnd, nullptr);
    }
    TestDialog owner;
    HMENU menu = nullptr;
};

TEST_F(PopupTest, ChosenItem_PrintsTheMenuAndPostsItsCommandToTheOwner) {
    Type("choose 32772\n");
    EXPECT_EQ(Track(), TRUE);
    EXPECT_EQ(events.lines, std::vector<std::string>{"menu E&xit=32772"});
    EXPECT_TRUE(owner.MessagesNamed(WM_COMMAND).empty());  // posted, not sent

    Type("command 2\n");
    owner.RunModal();
    EXPECT_EQ(owner.MessagesNamed(WM_COMMAND), (std::vector<UINT>{32772, IDCANCEL}));
}

TEST_F(PopupTest, Dismissed_ReturnsTrueWithoutACommand) {
    Type("choose none\ncommand 2\n");
    EXPECT_EQ(Track(), TRUE);
    owner.RunModal();
    EXPECT_EQ(owner.MessagesNamed(WM_COMMAND), std::vector<UINT>{IDCANCEL});
}

TEST_F(PopupTest, ReturnCmd_ReturnsTheChoiceInsteadOfPostingIt) {
    Type("choose 32772\nchoose none\ncommand 2\n");
    EXPECT_EQ(Track(TPM_RETURNCMD), 32772);
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    owner.RunModal();
    EXPECT_EQ(owner.MessagesNamed(WM_COMMAND), std::vector<UINT>{IDCANCEL});
}

TEST_F(PopupTest, ChoiceOfAMissingItem_IsAnErrorAndTheMenuStaysOpen) {
    Type("choose 5\nchoose 32772\n");
    EXPECT_EQ(Track(TPM_RETURNCMD), 32772);
    EXPECT_EQ(errors.lines, std::vector<std::string>{"error: choose: the menu has no item 5"});
}

TEST_F(PopupTest, OpenMenu_KeepsServingTimersPostedMessagesAndTrayInput) {
    SetTimer(owner.hwnd, 204, 10, nullptr);
    PostMessageA(owner.hwnd, WM_APP, 0, 0);
    std::vector<UINT> seen;
    owner.onMessage = [&](TestDialog& self, UINT message, WPARAM wParam, LPARAM) {
        if (message != WM_APP && message != WM_TIMER) return;
        seen.push_back(message);
        if (message == WM_TIMER) {
            KillTimer(self.hwnd, wParam);
            Type("choose none\n");  // the user answers after the timer
        }
    };
    EXPECT_EQ(Track(), TRUE);
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP, WM_TIMER}));
}

TEST_F(PopupTest, EscapeKey_ClosesTheMenuAndDoesNotReachTheDialog) {
    Type("key escape\ncommand 2\n");
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    EXPECT_EQ(owner.RunModal(), IDCANCEL);
    EXPECT_EQ(owner.MessagesNamed(WM_KEYDOWN).size(), 0u);
    EXPECT_EQ(owner.MessagesNamed(WM_COMMAND), std::vector<UINT>{IDCANCEL});
}

TEST_F(PopupTest, QuitDuringTheMenu_EndsItAndReachesTheOuterLoop) {
    PostQuitMessage(4);
    EXPECT_EQ(Track(), TRUE);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(PopupTest, SecondMenuWhileOneIsOpen_Fails) {
    BOOL nested = -1;
    PostMessageA(owner.hwnd, WM_APP, 0, 0);
    owner.onMessage = [&](TestDialog&, UINT message, WPARAM, LPARAM) {
        if (message != WM_APP) return;
        nested = Track();
        Type("choose none\n");
    };
    EXPECT_EQ(Track(), TRUE);
    EXPECT_EQ(nested, FALSE);
}

// The tray monitor's gesture: a right click reported by the tray, the menu
// after the double-click time, the user's answer once the menu is shown.
TEST_F(PopupTest, RightClickGesture_OpensTheMenuAfterTheDoubleClickTimeAndExitArrives) {
    constexpr UINT kTrayNotify = 0x8069;
    owner.onMessage = [&](TestDialog& self, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kTrayNotify && lParam == WM_RBUTTONUP) SetTimer(self.hwnd, 205, GetDoubleClickTime(), nullptr);
        if (message == WM_TIMER && wParam == 205) {
            KillTimer(self.hwnd, 205);
            SetForegroundWindow(self.hwnd);
            Track();
            PostMessageA(self.hwnd, WM_NULL, 0, 0);
        }
        if (message == WM_COMMAND && wParam == 32772) PostMessageA(self.hwnd, WM_COMMAND, IDOK, 0);
    };
    events.onLine = [&](const std::string& line) {
        if (line.rfind("menu ", 0) == 0) Type("choose 32772\n");
    };
    NOTIFYICONDATAA entry{};
    entry.cbSize = sizeof entry;
    entry.hWnd = owner.hwnd;
    entry.uID = 128;
    entry.uFlags = NIF_MESSAGE;
    entry.uCallbackMessage = kTrayNotify;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &entry));
    Type("tray rbuttondown\ntray rbuttonup\n");
    EXPECT_EQ(owner.RunModal(), IDOK);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"tray add 128 icon=none tip=", "menu E&xit=32772"}));
}

}  // namespace
