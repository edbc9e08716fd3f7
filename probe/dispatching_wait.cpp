#include "dispatching_wait.h"

#include <atomic>

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> finished{false};
std::atomic<HANDLE> wakeOnStop{nullptr};

BOOL WINAPI OnControl(DWORD type) {
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT) return FALSE;
    stopRequested = true;
    if (HANDLE wake = wakeOnStop.load()) SetEvent(wake);
    // The process ends when this returns from a close: give the program a
    // few seconds to take its sinks back first.
    if (type == CTRL_CLOSE_EVENT)
        for (int i = 0; i < 400 && !finished; ++i) Sleep(10);
    return TRUE;
}

}  // namespace

bool WaitDispatching(HANDLE event, std::optional<SteadyTime> deadline) {
    using namespace std::chrono;
    for (;;) {
        DWORD timeout = INFINITE;
        if (deadline) {
            const auto left = ceil<milliseconds>(*deadline - steady_clock::now()).count();
            if (left <= 0) return false;
            timeout = static_cast<DWORD>(left);
        }
        const DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, timeout, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

StopOnControl::StopOnControl(HANDLE wake) {
    wakeOnStop = wake;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

StopOnControl::~StopOnControl() {
    SetConsoleCtrlHandler(OnControl, FALSE);
    wakeOnStop = nullptr;
    finished = true;
}

bool StopOnControl::Requested() { return stopRequested; }
