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
    bool balloonShown = false;
};

// The most recently added entry that still exists, or null.
const TrayEntry* LatestTrayEntry();

// Closes the latest entry's balloon, as a click on it does; false when it
// shows none.
bool CloseLatestBalloon();

// Forgets every entry, as a restarting shell does.
void ForgetTrayEntries();

void ResetTray();

}  // namespace desktop
