#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "gpsd_latest.h"
#include "gpsd_notes.h"
#include "gpsd_receivers.h"
#include "tcp_lines.h"

// The receivers of one gpsd, watched over TCP by a worker thread: it
// connects (resolving the host name), asks gpsd to watch and for its latest
// reports, reads them at a bounded pace (a faster gpsd is held back by the
// connection) and hands what it decoded to `latest`. A lost connection drops
// every receiver and is tried again every few seconds.
class GpsdSource {
public:
    GpsdSource(std::string server, std::shared_ptr<GpsdLatest> latest);

    // Watches until `latest` asks it to stop.
    void Run();

    static constexpr std::chrono::seconds kRetryInterval{3};
    static constexpr std::chrono::milliseconds kCycle{100};
    // At most this many bytes are read per cycle: 640 kB/s, many times what
    // gpsd sends for a busy receiver.
    static constexpr std::size_t kBytesPerCycle = 64 * 1024;

private:
    using Clock = GpsdLatest::Clock;

    bool Connect();
    // Reads until the connection ends or the worker is asked to stop.
    void Watch();
    // One cycle's reading; false when the connection was dropped.
    bool ReadCycle();
    // Applies the lines; false when they were not gpsd's.
    bool ApplyLines(const std::vector<std::string>& lines, bool& changed);
    bool Fail(const std::string& problem);
    void Drop(const std::string& problem);
    void Publish();

    std::string m_server;
    GpsdAddress m_address;
    std::shared_ptr<GpsdLatest> m_latest;
    TcpLines m_connection;
    GpsdReceivers m_receivers;
    Clock::time_point m_nextAttempt{};
    std::vector<std::string> m_lines;
};
