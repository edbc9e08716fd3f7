#include "gpsd_source.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <utility>

namespace {

// The problem last told for each server, shared by every source of the
// process (skyprobe's sensor manager and Location object watch the same
// gpsd), so that each problem is told once. Sources live on any thread; a
// spin lock guards the table because the MinGW-w64 build has no std::mutex.
class ProblemTable {
public:
    // Records `problem` (empty: none) for `server`; true when it is news.
    static bool Record(const std::string& server, const std::string& problem) {
        while (held.test_and_set(std::memory_order_acquire)) {
        }
        std::string& last = table[server];
        const bool news = last != problem;
        last = problem;
        held.clear(std::memory_order_release);
        return news;
    }

private:
    static inline std::atomic_flag held = ATOMIC_FLAG_INIT;
    static inline std::map<std::string, std::string> table;
};

constexpr char kWatchRequest[] = "?WATCH={\"enable\":true,\"json\":true};?POLL;\n";
constexpr auto kStartWait = std::chrono::milliseconds(1000);

}  // namespace

GpsdSource::GpsdSource(std::string server) : server_(std::move(server)) {
    port_ = "2947";
    std::string host = server_;
    const std::size_t colon = host.rfind(':');
    if (!host.empty() && host.front() == '[') {
        const std::size_t close = host.find(']');
        if (close != std::string::npos && colon != std::string::npos && colon > close) port_ = host.substr(colon + 1);
        host = host.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else if (colon != std::string::npos && host.find(':') == colon) {
        port_ = host.substr(colon + 1);
        host.resize(colon);
    }
    host_ = host.empty() ? "127.0.0.1" : host;
}

void GpsdSource::Start() {
    const auto deadline = Clock::now() + kStartWait;
    BeginConnect();
    auto left = [&deadline] {
        const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return rest > 0 ? static_cast<int>(rest) : 0;
    };
    if (!AfterConnect(connection_.WaitConnected(left()))) return;
    while (watching_ && !receivers_.PollAnswered() && left() > 0) TakeLines(left());
}

bool GpsdSource::Poll() {
    if (watching_) return TakeLines(0);
    if (attempting_) {
        const TcpLines::Status status = connection_.WaitConnected(0);
        if (status == TcpLines::Status::Connecting && Clock::now() < nextAttempt_) return false;
        AfterConnect(status);
    } else if (Clock::now() >= nextAttempt_) {
        BeginConnect();
    }
    return false;
}

void GpsdSource::BeginConnect() {
    nextAttempt_ = Clock::now() + kRetryInterval;
    attempting_ = true;
    connection_.Connect(host_, port_);
}

bool GpsdSource::AfterConnect(TcpLines::Status status) {
    attempting_ = false;
    if (status == TcpLines::Status::Connecting) {
        Report("no answer");
        connection_.Close();
        return false;
    }
    if (status != TcpLines::Status::Open || !connection_.Send(kWatchRequest)) {
        Report("cannot connect");
        connection_.Close();
        return false;
    }
    watching_ = true;
    return true;
}

bool GpsdSource::TakeLines(int waitMilliseconds) {
    std::vector<std::string> lines;
    const TcpLines::Status status = connection_.Receive(waitMilliseconds, lines);
    bool changed = false;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (receivers_.Apply(line) == GpsdReceivers::Line::Garbage)
            return Drop("not a gpsd: its reply is not JSON") || changed;
        changed = true;
        ProblemTable::Record(server_, {});
    }
    if (status == TcpLines::Status::Overlong) return Drop("not a gpsd: its reply is not JSON") || changed;
    if (status == TcpLines::Status::Failed) return Drop("connection lost") || changed;
    return changed;
}

bool GpsdSource::Drop(const std::string& problem) {
    Report(problem);
    connection_.Close();
    watching_ = false;
    nextAttempt_ = Clock::now() + kRetryInterval;
    const bool hadReceivers = !receivers_.All().empty();
    receivers_ = GpsdReceivers();
    return hadReceivers;
}

void GpsdSource::Report(const std::string& problem) {
    if (!ProblemTable::Record(server_, problem)) return;
    std::fprintf(stderr, "sensorsim: gpsd at %s:%s: %s; trying again every %d s\n", host_.c_str(), port_.c_str(),
                 problem.c_str(), static_cast<int>(kRetryInterval.count()));
    std::fflush(stderr);
}
