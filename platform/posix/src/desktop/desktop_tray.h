// The notification area's entries, as far as input commands need them.
#pragma once

#include <windows.h>

namespace desktop {

struct TrayEntry {
    HWND window = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    char tip[128] = {};
};

// The most recently added entry that still exists, or null.
const TrayEntry* LatestTrayEntry();

// Forgets every entry, as a restarting shell does.
void ForgetTrayEntries();

void ResetTray();

}  // namespace desktop
