#include "lodestar_session.h"

#include <thread>

LodestarSession::LodestarSession(const std::string& scenario) {
    program = dir.File("lodestar");
    std::filesystem::copy_file(LODESTAR_EXE, program);
    if (!scenario.empty()) WriteFile(ScenarioFile(), scenario);
}

std::unique_ptr<ChildProcess> LodestarSession::Start(std::map<std::string, std::string> environment) {
    const bool hasScenario = std::filesystem::exists(ScenarioFile());
    environment.emplace("XDG_RUNTIME_DIR", runtimeDir.Path());
    environment.emplace("SENSORSIM_SCENARIO", hasScenario ? ScenarioFile() : "");
    return std::make_unique<ChildProcess>(program, dir.Path(), environment);
}

void LodestarSession::EditScenario(const std::string& scenario) {
    const auto before = std::filesystem::last_write_time(ScenarioFile());
    // Write beside and rename, so the simulator never reads half a file.
    WriteFile(ScenarioFile() + ".new", scenario);
    std::filesystem::rename(ScenarioFile() + ".new", ScenarioFile());
    if (std::filesystem::last_write_time(ScenarioFile()) == before)
        std::filesystem::last_write_time(ScenarioFile(), before + std::chrono::seconds(1));
}

std::string TrayLine(const std::string& verb, const std::string& icon, const std::string& tip) {
    std::string escaped;
    for (char c : tip) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    return "tray " + verb + " 128 icon=" + icon + " tip=" + escaped;
}
