#include "scenario_timer.h"

#include <atomic>
#include <map>

#include "sim_sensor_manager.h"

namespace {

// A thread timer carries no context, so its id leads to its manager. The map
// is shared by all threads; a spin lock guards it because the MinGW-w64 build
// has no std::mutex, and it is held only for a lookup.
class TimerTableLock {
public:
    TimerTableLock() {
        while (held.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~TimerTableLock() { held.clear(std::memory_order_release); }

private:
    static inline std::atomic_flag held = ATOMIC_FLAG_INIT;
};

std::map<UINT_PTR, CSimSensorManager*> timers;

void CALLBACK CheckScenarioTimerProc(HWND, UINT, UINT_PTR timer, DWORD) {
    ComRef<CSimSensorManager> manager;
    {
        const TimerTableLock lock;
        const auto found = timers.find(timer);
        if (found == timers.end()) return;
        manager = ComRef<CSimSensorManager>::Share(found->second);
    }
    manager->CheckScenario();
}

}  // namespace

UINT_PTR StartScenarioTimer(CSimSensorManager* manager) {
    const UINT_PTR timer = SetTimer(nullptr, 0, kScenarioCheckMilliseconds, CheckScenarioTimerProc);
    if (timer == 0) return 0;
    const TimerTableLock lock;
    timers[timer] = manager;
    return timer;
}

void StopScenarioTimer(UINT_PTR timer) {
    if (timer == 0) return;
    KillTimer(nullptr, timer);
    const TimerTableLock lock;
    timers.erase(timer);
}
