#include "scenario_file.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "escaped_text.h"
#include "file_bytes.h"
#include "scenario_reader.h"

namespace {

void ReportProblem(const std::string& path, const std::string& problem) {
    std::fprintf(stderr, "sensorsim: %s: %s; keeping the previous scenario\n", EscapedText(path).c_str(),
                 EscapedText(problem).c_str());
    std::fflush(stderr);
}

// The last file parsed in this process and what came of it.
struct Parse {
    std::string path;
    std::string bytes;
    std::shared_ptr<const Scenario> scenario;  // null when the text has a mistake
    std::string error;
};

std::mutex lastParseLock;
std::shared_ptr<const Parse> lastParse;

std::shared_ptr<const Parse> ParseShared(const std::string& path, const std::string& bytes) {
    std::shared_ptr<const Parse> last;
    {
        const std::lock_guard<std::mutex> lock(lastParseLock);
        last = lastParse;
    }
    if (last && last->path == path && last->bytes == bytes) return last;

    ScenarioReadResult result = ParseScenario(bytes);
    std::shared_ptr<const Scenario> scenario;
    if (result.scenario) scenario = std::make_shared<const Scenario>(std::move(*result.scenario));
    auto parse = std::make_shared<const Parse>(Parse{path, bytes, std::move(scenario), std::move(result.error)});
    const std::lock_guard<std::mutex> lock(lastParseLock);
    lastParse = parse;
    return parse;
}

}  // namespace

ScenarioFile::ScenarioFile(std::string path) : m_path(std::move(path)), m_current(std::make_shared<const Scenario>()) {
    if (m_path.empty()) return;
    m_bytes = ReadFileBytes(m_path);
    Load();
}

bool ScenarioFile::Refresh() {
    if (m_path.empty()) return false;
    std::optional<std::string> bytes = ReadFileBytes(m_path);
    if (bytes == m_bytes) return false;
    m_bytes = std::move(bytes);
    return Load();
}

bool ScenarioFile::Load() {
    if (!m_bytes) {
        ReportProblem(m_path, "cannot read the file");
        return false;
    }
    const std::shared_ptr<const Parse> parse = ParseShared(m_path, *m_bytes);
    if (!parse->scenario) {
        ReportProblem(m_path, parse->error);
        return false;
    }
    m_current = parse->scenario;
    return true;
}
