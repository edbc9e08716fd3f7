// Window timers (keyed by window and id) and thread timers (window null, id
// chosen here). WM_TIMER is made when a timer is due and nothing else waits,
// at most one per timer and interval, as on Windows.
#include "desktop_timers.h"

#include "desktop_errors.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace desktop {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kMinimumInterval = 10;  // USER_TIMER_MINIMUM
constexpr UINT kMaximumInterval = 0x7FFFFFFF;  // USER_TIMER_MAXIMUM
constexpr UINT kDoubleClickTime = 500;
constexpr UINT_PTR kFirstThreadTimerId = 0x7FF0;

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    TIMERPROC proc;
    Clock::time_point due;
    unsigned long long order;  // breaks ties between timers due at the same time
};

const Clock::time_point startTime = Clock::now();
std::vector<Timer> timers;
unsigned long long nextOrder = 0;
UINT_PTR nextThreadTimerId = kFirstThreadTimerId;

std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id) {
    return std::find_if(timers.begin(), timers.end(),
                        [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
}

UINT_PTR FreshThreadTimerId() {
    while (FindTimer(nullptr, nextThreadTimerId) != timers.end() || nextThreadTimerId == 0) ++nextThreadTimerId;
    return nextThreadTimerId++;
}

}  // namespace

DWORD TickCount() {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - startTime);
    return static_cast<DWORD>(elapsed.count());
}

bool TakeDueTimer(const MessageFilter& filter, MSG* msg) {
    const auto now = Clock::now();
    auto chosen = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->due > now || !filter.Matches(it->hwnd, WM_TIMER)) continue;
        if (chosen == timers.end() || it->due < chosen->due || (it->due == chosen->due && it->order < chosen->order))
            chosen = it;
    }
    if (chosen == timers.end()) return false;

    *msg = MSG{chosen->hwnd, WM_TIMER, chosen->id, reinterpret_cast<LPARAM>(chosen->proc), TickCount(), {}};
    GetCursorPos(&msg->pt);
    // A timer that fell behind does not fire again at once to catch up.
    chosen->due += std::chrono::milliseconds(chosen->interval);
    if (chosen->due <= now) chosen->due = now + std::chrono::milliseconds(chosen->interval);
    return true;
}

int MillisecondsToNextTimer() {
    if (timers.empty()) return -1;
    const auto next = std::min_element(timers.begin(), timers.end(),
                                       [](const Timer& a, const Timer& b) { return a.due < b.due; })->due;
    const auto now = Clock::now();
    if (next <= now) return 0;
    // Round up so that the wait never ends just before the timer is due.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::min<long long>(wait, kMaximumInterval));
}

bool TimerHasProc(HWND hwnd, UINT_PTR id, TIMERPROC proc) {
    auto timer = FindTimer(hwnd, id);
    return timer != timers.end() && timer->proc == proc;
}

void KillWindowTimers(HWND hwnd) {
    std::erase_if(timers, [&](const Timer& timer) { return timer.hwnd == hwnd; });
}

void ResetTimers() {
    timers.clear();
    nextThreadTimerId = kFirstThreadTimerId;
}

}  // namespace desktop

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    using namespace desktop;
    if (hwnd && !IsWindow(hwnd)) {
        SetLastError(kErrorInvalidWindowHandle);
        return 0;
    }
    const UINT interval = std::clamp(elapse, kMinimumInterval, kMaximumInterval);
    const auto due = Clock::now() + std::chrono::milliseconds(interval);

    // Setting a timer that exists restarts it; a thread timer keeps the id
    // only when it names one of the thread's timers.
    auto existing = FindTimer(hwnd, id);
    if (existing != timers.end()) {
        existing->interval = interval;
        existing->proc = timerProc;
        existing->due = due;
        existing->order = nextOrder++;
        return hwnd ? (id ? id : 1) : id;
    }
    const UINT_PTR timerId = hwnd ? id : FreshThreadTimerId();
    timers.push_back(Timer{hwnd, timerId, interval, timerProc, due, nextOrder++});
    return hwnd ? (timerId ? timerId : 1) : timerId;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto timer = desktop::FindTimer(hwnd, id);
    if (timer == desktop::timers.end()) return FALSE;
    desktop::timers.erase(timer);
    return TRUE;
}

UINT GetDoubleClickTime() { return desktop::kDoubleClickTime; }
