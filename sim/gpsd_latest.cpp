#include "gpsd_latest.h"

#include <utility>

void GpsdLatest::Publish(std::vector<SensorDefinition> sensors) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_sensors = std::move(sensors);
    ++m_generation;
}

void GpsdLatest::Settle() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_settled = true;
    }
    m_changed.notify_all();
}

void GpsdLatest::SetConnected(bool connected) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_connected = connected;
}

bool GpsdLatest::Stopping() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_stopping;
}

bool GpsdLatest::WaitForStop(Clock::time_point until) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_until(lock, until, [this] { return m_stopping; });
}

bool GpsdLatest::Take(std::uint64_t& seen, std::vector<SensorDefinition>& sensors) const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_generation == seen) return false;
    seen = m_generation;
    sensors = m_sensors;
    return true;
}

std::vector<SensorDefinition> GpsdLatest::Sensors() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_sensors;
}

bool GpsdLatest::WaitSettled(Clock::time_point deadline) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_until(lock, deadline, [this] { return m_settled; });
}

bool GpsdLatest::Connected() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_connected;
}

void GpsdLatest::Stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
}
