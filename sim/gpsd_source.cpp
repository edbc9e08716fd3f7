#include "gpsd_source.h"

#include <algorithm>
#include <utility>

namespace {

constexpr char kWatchRequest[] = "?WATCH={\"enable\":true,\"json\":true};?POLL;\n";
// Bytes taken from the connection at a time, so that the lines held at once
// stay few.
constexpr std::size_t kChunk = 8192;

int Milliseconds(std::chrono::milliseconds duration) { return static_cast<int>(duration.count()); }

}  // namespace

GpsdSource::GpsdSource(std::string server, std::shared_ptr<GpsdLatest> latest)
    : m_server(std::move(server)), m_address(m_server), m_latest(std::move(latest)) {}

void GpsdSource::Run() {
    while (!m_latest->Stopping()) {
        if (Connect()) Watch();
        if (m_latest->WaitForStop(m_nextAttempt)) break;
    }
    m_connection.Close();
}

bool GpsdSource::Connect() {
    m_nextAttempt = Clock::now() + kRetryInterval;
    TcpLines::Status status = m_connection.Connect(m_address.host, m_address.port);
    while (status == TcpLines::Status::Connecting && Clock::now() < m_nextAttempt) {
        if (m_latest->Stopping()) return false;
        status = m_connection.WaitConnected(Milliseconds(kCycle));
    }
    if (status == TcpLines::Status::Connecting) return Fail("no answer");
    if (status != TcpLines::Status::Open || !m_connection.Send(kWatchRequest)) return Fail("cannot connect");
    m_latest->SetConnected(true);
    return true;
}

void GpsdSource::Watch() {
    while (!m_latest->Stopping() && ReadCycle()) {
    }
}

bool GpsdSource::ReadCycle() {
    const auto start = Clock::now();
    std::size_t cycleTaken = 0;
    int wait = Milliseconds(kCycle);
    bool changed = false;
    TcpLines::Status status = TcpLines::Status::Open;
    while (cycleTaken < kBytesPerCycle) {
        m_lines.clear();
        std::size_t taken = 0;
        status = m_connection.Receive(wait, std::min(kChunk, kBytesPerCycle - cycleTaken), m_lines, taken);
        wait = 0;
        cycleTaken += taken;
        if (!ApplyLines(m_lines, changed)) return false;
        if (status != TcpLines::Status::Open || taken == 0) break;
    }
    if (m_receivers.Overflowed())
        TellGpsdNoteOnce(m_server, "it names more than " + std::to_string(GpsdReceivers::kMaxReceivers) +
                                       " receivers; the others are left out");
    changed = m_receivers.MarkSilent(Clock::now(), m_latest->StaleAfter()) || changed;
    if (changed) Publish();
    if (m_receivers.PollAnswered()) m_latest->Settle();

    if (status == TcpLines::Status::Overlong) {
        // Told once: the reports before the long line may have been gpsd's.
        TellGpsdNoteOnce(m_server, "not a gpsd: a line is longer than " + std::to_string(TcpLines::kMaxLine) +
                                       " bytes; dropped and tried again every " +
                                       std::to_string(kRetryInterval.count()) + " s");
        Drop({});
        return false;
    }
    if (status == TcpLines::Status::Failed) {
        Drop("connection lost");
        return false;
    }
    if (cycleTaken >= kBytesPerCycle) {
        TellGpsdNoteOnce(m_server, "it sends more than " + std::to_string(kBytesPerCycle * 10 / 1024) +
                                       " KiB/s; read no faster");
        if (m_latest->WaitForStop(start + kCycle)) return false;
    }
    return true;
}

bool GpsdSource::ApplyLines(const std::vector<std::string>& lines, bool& changed) {
    bool understood = false;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (m_receivers.Apply(line) == GpsdReceivers::Line::Garbage) {
            Drop("not a gpsd: its reply is not JSON");
            return false;
        }
        understood = true;
    }
    if (understood) TellGpsdProblem(m_server, {});
    changed = changed || understood;
    return true;
}

bool GpsdSource::Fail(const std::string& problem) {
    TellGpsdProblem(m_server, problem);
    m_connection.Close();
    m_latest->Settle();
    return false;
}

// The receivers go before anyone waiting for the first answer is told.
void GpsdSource::Drop(const std::string& problem) {
    m_latest->SetConnected(false);
    const bool hadReceivers = !m_receivers.All().empty();
    m_receivers = GpsdReceivers();
    if (hadReceivers) Publish();
    Fail(problem);
    m_nextAttempt = Clock::now() + kRetryInterval;
}

void GpsdSource::Publish() { m_latest->Publish(m_receivers.Sensors()); }
