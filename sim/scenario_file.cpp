#include "scenario_file.h"

#include <atomic>
#include <cstdio>
#include <utility>

#include "file_bytes.h"
#include "scenario_reader.h"
#include "spin_lock.h"

namespace {

void ReportProblem(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "sensorsim: %s: %s; keeping the previous scenario\n", path.c_str(), problem.c_str());
    std::fflush(stderr);
}

// The last file parsed in this process and what came of it.
struct Parse {
    std::string path;
    std::string bytes;
    std::shared_ptr<const Scenario> scenario;  // null when the text has a mistake
    std::string error;
};

std::atomic_flag last_parse_held = ATOMIC_FLAG_INIT;
std::shared_ptr<const Parse> last_parse;

std::shared_ptr<const Parse> ParseShared(const std::string& path, const std::string& bytes) {
    std::shared_ptr<const Parse> last;
    {
        const SpinLock lock(last_parse_held);
        last = last_parse;
    }
    if (last && last->path == path && last->bytes == bytes) return last;

    ScenarioReadResult result = ParseScenario(bytes);
    std::shared_ptr<const Scenario> scenario;
    if (result.scenario) scenario = std::make_shared<const Scenario>(std::move(*result.scenario));
    auto parse = std::make_shared<const Parse>(Parse{path, bytes, std::move(scenario), std::move(result.error)});
    const SpinLock lock(last_parse_held);
    last_parse = parse;
    return parse;
}

}  // namespace

ScenarioFile::ScenarioFile(std::string path) : path_(std::move(path)), current_(std::make_shared<const Scenario>()) {
    if (path_.empty()) return;
    bytes_ = ReadFileBytes(path_);
    Load();
}

bool ScenarioFile::Refresh() {
    if (path_.empty()) return false;
    std::optional<std::string> bytes = ReadFileBytes(path_);
    if (bytes == bytes_) return false;
    bytes_ = std::move(bytes);
    return Load();
}

bool ScenarioFile::Load() {
    if (!bytes_) {
        ReportProblem(path_, "cannot read the file");
        return false;
    }
    const std::shared_ptr<const Parse> parse = ParseShared(path_, *bytes_);
    if (!parse->scenario) {
        ReportProblem(path_, parse->error);
        return false;
    }
    current_ = parse->scenario;
    return true;
}
