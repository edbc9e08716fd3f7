// The message loop: GetMessageA waits for posted messages, the quit request,
// input commands and timers; DispatchMessageA hands a message to its window
// or timer procedure.
#include "desktop_loop.h"

#include "desktop_commands.h"
#include "desktop_errors.h"
#include "desktop_input.h"
#include "desktop_queue.h"
#include "desktop_session.h"
#include "desktop_timers.h"
#include "desktop_windows.h"

#include <poll.h>
#include <string>

namespace desktop {
namespace {

// Waits until input is ready or the timeout (ms, -1 for ever) ends, and
// reads the input. Returns whether input was read.
// A session end requested by a signal also ends the wait.
bool WaitForInput(int timeoutMs) {
    pollfd waits[2] = {{WatchSessionSignals(), POLLIN, 0}, {PollableInputFd(), POLLIN, 0}};
    const nfds_t count = waits[1].fd >= 0 ? 2 : 1;
    const int ready = poll(waits, count, timeoutMs);
    if (ready <= 0 || !(waits[1].revents & (POLLIN | POLLHUP | POLLERR))) return false;
    ReadAvailableInput();
    return true;
}

}  // namespace

WaitResult WaitForMessage(const MessageFilter& filter, MSG* msg, const std::function<bool()>& stop) {
    for (;;) {
        if (SessionEndRequested()) EndSession();
        if (stop && stop()) return WaitResult::Stopped;
        if (TakePostedMessage(filter, msg)) return msg->message == WM_QUIT ? WaitResult::Quit : WaitResult::Message;
        if (TakeQuitMessage(msg)) return WaitResult::Quit;

        std::string line;
        if (TakeInputLine(line)) {
            ExecuteCommand(line);
            continue;
        }
        // Input outranks timers: take in what is ready before a timer may fire.
        if (PollableInputFd() >= 0 && WaitForInput(0)) continue;
        if (TakeDueTimer(filter, msg)) return WaitResult::Message;
        WaitForInput(MillisecondsToNextTimer());
    }
}

}  // namespace desktop

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg || (hwnd && !IsWindow(hwnd))) {
        SetLastError(msg ? desktop::kErrorInvalidWindowHandle : ERROR_INVALID_PARAMETER);
        return -1;
    }
    const desktop::MessageFilter filter{hwnd, filterMin, filterMax};
    return desktop::WaitForMessage(filter, msg) == desktop::WaitResult::Quit ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM character = 0;
    switch (msg->wParam) {
        case VK_RETURN: character = '\r'; break;
        case VK_SPACE: character = ' '; break;
        case VK_ESCAPE: character = 0x1B; break;
        default: return FALSE;
    }
    PostMessageA(msg->hwnd, WM_CHAR, character, msg->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only a procedure of a running timer is called, never an arbitrary
        // lParam of a posted WM_TIMER.
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (desktop::TimerHasProc(msg->hwnd, msg->wParam, proc))
            proc(msg->hwnd, WM_TIMER, msg->wParam, desktop::TickCount());
        return 0;
    }
    if (!msg->hwnd) return 0;
    if (!IsWindow(msg->hwnd)) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return 0;
    }
    return desktop::CallWindowProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
