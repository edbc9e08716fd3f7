#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sensor_definition.h"

// What a gpsd's worker has decoded, handed to the threads that show it: the
// latest sensors of its receivers, and whether the first answer has come.
// It also carries the request to stop, from those threads to the worker.
class GpsdLatest {
public:
    using Clock = std::chrono::steady_clock;

    explicit GpsdLatest(int staleSeconds) : m_staleSeconds(staleSeconds) {}

    // The worker's side.
    void Publish(std::vector<SensorDefinition> sensors);
    // The first answer came (gpsd's latest reports, or a failure).
    void Settle();
    void SetConnected(bool connected);
    bool Stopping() const;
    // Waits until `until` or until asked to stop; true when asked.
    bool WaitForStop(Clock::time_point until) const;
    Clock::duration StaleAfter() const { return std::chrono::seconds(m_staleSeconds.load()); }

    // The other side.
    // Copies the sensors into `sensors` when they are newer than `seen`.
    bool Take(std::uint64_t& seen, std::vector<SensorDefinition>& sensors) const;
    std::vector<SensorDefinition> Sensors() const;
    // Waits until the first answer or `deadline`; true when it came.
    bool WaitSettled(Clock::time_point deadline) const;
    bool Connected() const;
    void Stop();
    void SetStaleSeconds(int seconds) { m_staleSeconds = seconds; }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<SensorDefinition> m_sensors;
    std::uint64_t m_generation = 0;
    bool m_settled = false;
    bool m_connected = false;
    bool m_stopping = false;
    std::atomic<int> m_staleSeconds;
};
