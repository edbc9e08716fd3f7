// The thread's queue of posted messages and its quit request.
#pragma once

#include <windows.h>

namespace desktop {

// Which messages GetMessageA asked for: hwnd null takes every window's and
// the thread's; min and max both 0 take every message.
struct MessageFilter {
    HWND hwnd = nullptr;
    UINT min = 0;
    UINT max = 0;

    bool Matches(HWND target, UINT message) const {
        if (hwnd && target != hwnd) return false;
        return (min == 0 && max == 0) || (message >= min && message <= max);
    }
};

// Removes the oldest posted message that passes the filter into msg.
bool TakePostedMessage(const MessageFilter& filter, MSG* msg);
// Turns a pending quit request into a WM_QUIT message and forgets it.
bool TakeQuitMessage(MSG* msg);

// Whether a posted message or the quit request is waiting.
bool MessageWaiting();

void ResetQueue();

}  // namespace desktop
