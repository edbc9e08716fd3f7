// Posted messages and the quit request of the (single) user-interface thread.
#include "desktop_queue.h"

#include "desktop_errors.h"
#include "desktop_timers.h"

#include <deque>

namespace desktop {
namespace {

std::deque<MSG> posted;
bool quitRequested = false;
int quitCode = 0;

}  // namespace

bool TakePostedMessage(const MessageFilter& filter, MSG* msg) {
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (filter.Matches(it->hwnd, it->message)) {
            *msg = *it;
            posted.erase(it);
            return true;
        }
    }
    return false;
}

bool TakeQuitMessage(MSG* msg) {
    if (!quitRequested) return false;
    quitRequested = false;
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, TickCount(), {}};
    GetCursorPos(&msg->pt);
    return true;
}

bool MessageWaiting() { return !posted.empty() || quitRequested; }

void ResetQueue() {
    posted.clear();
    quitRequested = false;
    quitCode = 0;
}

}  // namespace desktop

// A null window posts a message to the thread itself.
BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !IsWindow(hwnd)) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    MSG msg{hwnd, message, wParam, lParam, desktop::TickCount(), {}};
    GetCursorPos(&msg.pt);
    desktop::posted.push_back(msg);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    desktop::quitRequested = true;
    desktop::quitCode = exitCode;
}
