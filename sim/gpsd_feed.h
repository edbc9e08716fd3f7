#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gpsd_latest.h"
#include "sensor_definition.h"

// The process's watch of one gpsd, shared by every sensor manager and
// Location object that names its server: one connection per server, served
// by a worker thread while anyone holds the feed. Nobody ever waits for the
// worker to end; one that is resolving a host name ends on its own later.
class GpsdFeed {
public:
    using Clock = GpsdLatest::Clock;

    // The feed of `server`, started on first use.
    static std::shared_ptr<GpsdFeed> Watch(const std::string& server, int staleSeconds);
    ~GpsdFeed();
    GpsdFeed(const GpsdFeed&) = delete;
    GpsdFeed& operator=(const GpsdFeed&) = delete;

    // Waits for gpsd's first answer, at most until about a second after the
    // feed started: a later caller does not wait.
    void WaitFirstAnswer() const;
    // Copies the receivers' sensors into `sensors` when newer than `seen`.
    bool Take(std::uint64_t& seen, std::vector<SensorDefinition>& sensors) const {
        return m_latest->Take(seen, sensors);
    }
    std::vector<SensorDefinition> Sensors() const { return m_latest->Sensors(); }
    const std::string& Server() const { return m_server; }
    void SetStaleSeconds(int seconds) { m_latest->SetStaleSeconds(seconds); }

    static constexpr std::chrono::milliseconds kFirstAnswerWait{1000};

private:
    GpsdFeed(std::string server, int staleSeconds);

    std::string m_server;
    std::shared_ptr<GpsdLatest> m_latest;
    Clock::time_point m_firstAnswerDeadline;
};
