#include "gpsd_source.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <utility>

#include "spin_lock.h"

namespace {

// The problem last told for each server, shared by every source of the
// process (skyprobe's sensor manager and Location object watch the same
// gpsd), so that each problem is told once. Sources live on any thread.
std::atomic_flag lastProblemsHeld = ATOMIC_FLAG_INIT;
std::map<std::string, std::string> lastProblems;

// Records `problem` (empty: none) for `server`; true when it is news.
bool RecordProblem(const std::string& server, const std::string& problem) {
    const SpinLock lock(lastProblemsHeld);
    std::string& last = lastProblems[server];
    const bool news = last != problem;
    last = problem;
    return news;
}

constexpr char kWatchRequest[] = "?WATCH={\"enable\":true,\"json\":true};?POLL;\n";
constexpr auto kStartWait = std::chrono::milliseconds(1000);

}  // namespace

GpsdSource::GpsdSource(std::string server) : m_server(std::move(server)) {
    m_port = "2947";
    std::string host = m_server;
    const std::size_t colon = host.rfind(':');
    if (!host.empty() && host.front() == '[') {
        const std::size_t close = host.find(']');
        if (close != std::string::npos && colon != std::string::npos && colon > close) m_port = host.substr(colon + 1);
        host = host.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else if (colon != std::string::npos && host.find(':') == colon) {
        m_port = host.substr(colon + 1);
        host.resize(colon);
    }
    m_host = host.empty() ? "127.0.0.1" : host;
}

void GpsdSource::Start() {
    const auto deadline = Clock::now() + kStartWait;
    BeginConnect();
    auto left = [&deadline] {
        const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return rest > 0 ? static_cast<int>(rest) : 0;
    };
    if (!AfterConnect(m_connection.WaitConnected(left()))) return;
    while (m_watching && !m_receivers.PollAnswered() && left() > 0) TakeLines(left());
}

bool GpsdSource::Poll() {
    if (m_watching) return TakeLines(0);
    if (m_attempting) {
        const TcpLines::Status status = m_connection.WaitConnected(0);
        if (status == TcpLines::Status::Connecting && Clock::now() < m_nextAttempt) return false;
        AfterConnect(status);
    } else if (Clock::now() >= m_nextAttempt) {
        BeginConnect();
    }
    return false;
}

void GpsdSource::BeginConnect() {
    m_nextAttempt = Clock::now() + kRetryInterval;
    m_attempting = true;
    m_connection.Connect(m_host, m_port);
}

bool GpsdSource::AfterConnect(TcpLines::Status status) {
    m_attempting = false;
    if (status == TcpLines::Status::Connecting) {
        Report("no answer");
        m_connection.Close();
        return false;
    }
    if (status != TcpLines::Status::Open || !m_connection.Send(kWatchRequest)) {
        Report("cannot connect");
        m_connection.Close();
        return false;
    }
    m_watching = true;
    return true;
}

bool GpsdSource::TakeLines(int waitMilliseconds) {
    std::vector<std::string> lines;
    const TcpLines::Status status = m_connection.Receive(waitMilliseconds, lines);
    bool changed = false;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (m_receivers.Apply(line) == GpsdReceivers::Line::Garbage)
            return Drop("not a gpsd: its reply is not JSON") || changed;
        changed = true;
        RecordProblem(m_server, {});
    }
    if (status == TcpLines::Status::Overlong) return Drop("not a gpsd: its reply is not JSON") || changed;
    if (status == TcpLines::Status::Failed) return Drop("connection lost") || changed;
    return changed;
}

bool GpsdSource::Drop(const std::string& problem) {
    Report(problem);
    m_connection.Close();
    m_watching = false;
    m_nextAttempt = Clock::now() + kRetryInterval;
    const bool hadReceivers = !m_receivers.All().empty();
    m_receivers = GpsdReceivers();
    return hadReceivers;
}

void GpsdSource::Report(const std::string& problem) {
    if (!RecordProblem(m_server, problem)) return;
    std::fprintf(stderr, "sensorsim: gpsd at %s:%s: %s; trying again every %d s\n", m_host.c_str(), m_port.c_str(),
                 problem.c_str(), static_cast<int>(kRetryInterval.count()));
    std::fflush(stderr);
}
