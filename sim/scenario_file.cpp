#include "scenario_file.h"

#include <cstdio>
#include <utility>

#include "scenario_reader.h"

namespace {

void ReportProblem(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "sensorsim: %s: %s; keeping the previous scenario\n", path.c_str(), problem.c_str());
    std::fflush(stderr);
}

}  // namespace

ScenarioFile::ScenarioFile(std::string path) : path_(std::move(path)) {
    if (path_.empty()) return;
    stamp_ = ReadFileStamp(path_);
    Load();
}

bool ScenarioFile::Refresh() {
    if (path_.empty()) return false;
    const FileStamp stamp = ReadFileStamp(path_);
    if (stamp == stamp_) return false;
    stamp_ = stamp;
    return Load();
}

bool ScenarioFile::Load() {
    if (!stamp_.exists) {
        ReportProblem(path_, "cannot read the file");
        return false;
    }
    ScenarioReadResult result = ReadScenario(path_);
    if (!result.scenario) {
        ReportProblem(path_, result.error);
        return false;
    }
    current_ = std::move(*result.scenario);
    return true;
}
