#include "gpsd_notes.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

#include "escaped_text.h"
#include "gpsd_source.h"

namespace {

// Never destroyed: a worker may still tell something while the process ends.
struct Told {
    std::mutex mutex;
    std::map<std::string, std::string> lastProblems;
    std::set<std::pair<std::string, std::string>> notes;
};
Told& told = *new Told;

void Tell(const std::string& server, const std::string& text) {
    const GpsdAddress address(server);
    std::fprintf(stderr, "sensorsim: gpsd at %s:%s: %s\n", EscapedText(address.host).c_str(),
                 EscapedText(address.port).c_str(), text.c_str());
    std::fflush(stderr);
}

}  // namespace

GpsdAddress::GpsdAddress(const std::string& server) : port("2947") {
    std::string name = server;
    const std::size_t colon = name.rfind(':');
    if (!name.empty() && name.front() == '[') {
        const std::size_t close = name.find(']');
        if (close != std::string::npos && colon != std::string::npos && colon > close) port = name.substr(colon + 1);
        name = name.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else if (colon != std::string::npos && name.find(':') == colon) {
        port = name.substr(colon + 1);
        name.resize(colon);
    }
    host = name.empty() ? "127.0.0.1" : name;
}

void TellGpsdProblem(const std::string& server, const std::string& problem) {
    {
        const std::lock_guard<std::mutex> lock(told.mutex);
        std::string& last = told.lastProblems[server];
        if (last == problem) return;
        last = problem;
    }
    if (problem.empty()) return;
    const int retry = static_cast<int>(GpsdSource::kRetryInterval.count());
    Tell(server, problem + "; trying again every " + std::to_string(retry) + " s");
}

void TellGpsdNoteOnce(const std::string& server, const std::string& note) {
    {
        const std::lock_guard<std::mutex> lock(told.mutex);
        if (!told.notes.emplace(server, note).second) return;
    }
    Tell(server, note);
}
