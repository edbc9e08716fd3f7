// The tray monitor's resource script gives its popup menu natively.
#include "desktop/desktop_console.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

TEST(TrayMenuResource, Menu131_HoldsPopupLodestarWithExit) {
    desktop::ResetForTests();
    std::ostringstream events;
    desktop::SetEventOutput(&events);
    desktop::SetInputFd(-1);

    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCE(131));
    ASSERT_TRUE(menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_TRUE(popup);
    HWND owner = CreateDialogParamA(nullptr, MAKEINTRESOURCE(102), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    // Nobody answers: quitting ends the menu.
    PostQuitMessage(0);
    EXPECT_TRUE(TrackPopupMenu(popup, TPM_RIGHTBUTTON, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(events.str(), "menu E&xit=32772\n");
    DestroyMenu(menu);
    desktop::SetEventOutput(nullptr);
    desktop::ResetForTests();
}
