#include "scenario_timer.h"

#include <cstdlib>
#include <map>
#include <mutex>

#include "sim_sensor_manager.h"

namespace {

// A thread timer carries no context, so its id leads to its manager. The map
// is shared by all threads.
std::mutex timersLock;
std::map<UINT_PTR, CSimSensorManager*> timers;

void CALLBACK CheckScenarioTimerProc(HWND, UINT, UINT_PTR timer, DWORD) {
    ComRef<CSimSensorManager> manager;
    {
        const std::lock_guard<std::mutex> lock(timersLock);
        const auto found = timers.find(timer);
        if (found == timers.end()) return;
        manager = ComRef<CSimSensorManager>::Share(found->second);
    }
    manager->CheckScenario();
}

}  // namespace

UINT ScenarioCheckMilliseconds() {
    constexpr UINT kDefault = 100;
    const char* text = std::getenv("SENSORSIM_CHECK_MS");
    if (text == nullptr) return kDefault;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > 60000) return kDefault;
    return static_cast<UINT>(value);
}

UINT_PTR StartScenarioTimer(CSimSensorManager* manager) {
    const UINT_PTR timer = SetTimer(nullptr, 0, ScenarioCheckMilliseconds(), CheckScenarioTimerProc);
    if (timer == 0) return 0;
    const std::lock_guard<std::mutex> lock(timersLock);
    timers[timer] = manager;
    return timer;
}

void StopScenarioTimer(UINT_PTR timer) {
    if (timer == 0) return;
    KillTimer(nullptr, timer);
    const std::lock_guard<std::mutex> lock(timersLock);
    timers.erase(timer);
}
