// MsgWaitForMultipleObjects and PeekMessageA: a thread that waits for events
// while its timers and posted messages go on being served.
#include "desktop_queue.h"
#include "desktop_timers.h"
#include "kernel/kernel_event.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

namespace {

constexpr DWORD kMaximumWaitObjects = 64;  // MAXIMUM_WAIT_OBJECTS

bool MessageReady(DWORD wakeMask) {
    if ((wakeMask & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE)) && desktop::MessageWaiting()) return true;
    return (wakeMask & QS_TIMER) && desktop::MillisecondsToNextTimer() == 0;
}

// Until the next timer when the caller waits for timers too; -1 for ever.
int PollTimeout(DWORD wakeMask, std::chrono::steady_clock::time_point deadline, bool forever) {
    using namespace std::chrono;
    int timeout = -1;
    if (!forever) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        timeout = static_cast<int>(std::clamp<long long>(left, 0, 0x7FFFFFFF));
    }
    const int timer = (wakeMask & QS_TIMER) ? desktop::MillisecondsToNextTimer() : -1;
    if (timer >= 0 && (timeout < 0 || timer < timeout)) timeout = timer;
    return timeout;
}

}  // namespace

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    if (waitAll || count > kMaximumWaitObjects || (count > 0 && handles == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<EventObject*> events;
    std::vector<pollfd> waits;
    for (DWORD i = 0; i < count; ++i) {
        EventObject* event = FindEvent(handles[i]);
        if (event == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        events.push_back(event);
        waits.push_back({event->Fd(), POLLIN, 0});
    }

    const bool forever = milliseconds == INFINITE;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(forever ? 0 : milliseconds);
    for (;;) {
        for (DWORD i = 0; i < count; ++i)
            if (events[i]->Take()) return WAIT_OBJECT_0 + i;
        if (MessageReady(wakeMask)) return WAIT_OBJECT_0 + count;
        if (!forever && std::chrono::steady_clock::now() >= deadline) return WAIT_TIMEOUT;
        if (poll(waits.data(), waits.size(), PollTimeout(wakeMask, deadline, forever)) < 0 && errno != EINTR) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
    }
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (msg == nullptr || removeFlags != PM_REMOVE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const desktop::MessageFilter filter{hwnd, filterMin, filterMax};
    return desktop::TakePostedMessage(filter, msg) || desktop::TakeQuitMessage(msg) ||
           desktop::TakeDueTimer(filter, msg);
}
