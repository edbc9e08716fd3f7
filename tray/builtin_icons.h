// The tray's built-in status icons, loaded once per run at the small-icon
// size of the display, so that the notification area gets a crisp image at
// any scale.
#pragma once

#include <windows.h>

// The icon resource `resourceId` of the program; the same handle on every
// call. The handles are shared: callers never destroy them.
HICON BuiltinTrayIcon(UINT resourceId);
