// Window and thread timers, and the clock behind them.
#pragma once

#include <windows.h>

#include "desktop_queue.h"

namespace desktop {

// Milliseconds since the desktop started, like GetTickCount.
DWORD TickCount();

// Turns the most overdue timer that passes the filter into a WM_TIMER
// message and starts its next interval.
bool TakeDueTimer(const MessageFilter& filter, MSG* msg);
// Milliseconds until the next timer is due (0 when one is due already), or
// -1 when there is no timer.
int MillisecondsToNextTimer();
// Whether the timer that a WM_TIMER message names still runs with that
// procedure, so that DispatchMessageA may call it.
bool TimerHasProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
// Stops the timers of a window that is being destroyed.
void KillWindowTimers(HWND hwnd);

void ResetTimers();

}  // namespace desktop
