#include "desktop_console.h"
#include "desktop_input.h"
#include "desktop_menus.h"
#include "desktop_queue.h"
#include "desktop_timers.h"
#include "desktop_tray.h"
#include "desktop_windows.h"

namespace desktop {

void ResetForTests() {
    ResetMenuTracking();
    ResetWindows();
    ResetQueue();
    ResetTimers();
    ResetTray();
    ResetInputBuffer();
}

}  // namespace desktop
