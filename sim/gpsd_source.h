#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "gpsd_receivers.h"
#include "scenario.h"
#include "tcp_lines.h"

// The receivers of one gpsd, watched over TCP without ever blocking the
// caller's thread for long. A lost connection drops every receiver and is
// tried again every few seconds; each new problem is told in one line on
// standard error, once per process.
class GpsdSource {
public:
    // `server` is host:port, [v6 address]:port or host alone (port 2947).
    explicit GpsdSource(std::string server);

    // Connects, asks gpsd to watch and for its latest reports, and waits up
    // to about a second for them.
    void Start();
    // Takes what gpsd sent since; true when the receivers may have changed.
    bool Poll();
    std::vector<SensorDefinition> Sensors() const { return m_receivers.Sensors(); }
    const std::string& Server() const { return m_server; }

    static constexpr std::chrono::seconds kRetryInterval{3};

private:
    using Clock = std::chrono::steady_clock;

    void BeginConnect();
    // Sends the watch request once connected; false when that failed.
    bool AfterConnect(TcpLines::Status status);
    bool TakeLines(int waitMilliseconds);
    bool Drop(const std::string& problem);
    void Report(const std::string& problem);

    std::string m_server, m_host, m_port;
    TcpLines m_connection;
    bool m_attempting = false;
    bool m_watching = false;
    Clock::time_point m_nextAttempt{};
    GpsdReceivers m_receivers;
};
