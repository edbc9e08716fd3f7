#pragma once

#include <windows.h>

#include <chrono>
#include <optional>

using SteadyTime = std::chrono::steady_clock::time_point;

// Waits until `event` is set or the deadline (none: for ever) passes, and
// dispatches this thread's messages meanwhile: a sensor platform that calls
// its sinks on the thread that made the manager (as the simulated one does,
// from a thread timer) needs that. True when the event was set.
bool WaitDispatching(HANDLE event, std::optional<SteadyTime> deadline);

// While one lives, Ctrl+C, Ctrl+Break and closing the console (natively
// SIGINT and SIGTERM) set `wake` and are noted instead of ending the program.
class StopOnControl {
public:
    explicit StopOnControl(HANDLE wake);
    ~StopOnControl();
    StopOnControl(const StopOnControl&) = delete;
    StopOnControl& operator=(const StopOnControl&) = delete;

    static bool Requested();
};
