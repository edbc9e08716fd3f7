#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

#include "com_ref.h"
#include "sensor_reading.h"

// One event of a location sensor, as its sink was told it.
struct WatchEvent {
    enum class Kind { Enter, Leave, StateChanged, DataUpdated };

    std::chrono::system_clock::time_point time;
    Kind kind;
    std::optional<GUID> id;
    SensorName name;
    std::optional<long> state;        // Enter, StateChanged
    std::vector<ReportValue> values;  // DataUpdated
};

// Listens to every location sensor of a manager: sets the sinks on the
// manager and on each location sensor, and on each one that enters later.
// The sinks may be called on any thread (the platform's own, or this one
// while it dispatches messages): they queue the event and set the wake
// event.
class SensorWatch {
public:
    explicit SensorWatch(ISensorManager* manager);
    ~SensorWatch();
    SensorWatch(const SensorWatch&) = delete;
    SensorWatch& operator=(const SensorWatch&) = delete;

    // Set (auto-reset) whenever an event is queued.
    HANDLE WakeEvent() const;
    // The events queued so far, oldest first.
    std::vector<WatchEvent> TakeEvents();

    // Removes every sink and releases every sensor; no event is queued
    // afterwards.
    void Stop();

    struct Shared;

private:
    ComRef<ISensorManager> m_manager;
    std::shared_ptr<Shared> m_shared;
    ComRef<ISensorManagerEvents> m_managerSink;
};
