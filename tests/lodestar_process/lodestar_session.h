// A native lodestar copied into a fresh directory and driven through the
// console desktop, as a user at a terminal would.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "child_process.h"

class LodestarSession {
public:
    // Copies the program into a temporary directory; `scenario` is the
    // content of the simulated receiver's scenario file (empty: none).
    explicit LodestarSession(const std::string& scenario = {});

    // `environment` adds to or overrides the session's variables.
    std::unique_ptr<ChildProcess> Start(std::map<std::string, std::string> environment = {});
    std::string SettingsFile() const { return dir.File("lodestar.ini"); }
    std::string ScenarioFile() const { return dir.File("scenario.ini"); }
    // Rewrites the scenario so that the simulator sees a change.
    void EditScenario(const std::string& scenario);

    TempDir dir;
    TempDir runtimeDir;
    std::string program;
};

// The tray line the tests expect, with the console desktop's escapes.
std::string TrayLine(const std::string& verb, const std::string& icon, const std::string& tip);
