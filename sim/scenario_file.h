#pragma once

#include <memory>
#include <optional>
#include <string>

#include "scenario.h"

// A scenario file and the last scenario that was read from it successfully.
// A file that is missing or has a mistake leaves the previous scenario in
// force (at first the empty one) and is reported in one line on standard
// error. Objects made from the same unchanged file share one parse.
class ScenarioFile {
public:
    // An empty path stands for no file: the empty scenario, never reloaded.
    explicit ScenarioFile(std::string path);

    // Reads the file again and compares what it holds with what was read
    // last; true when it changed and a new scenario took effect.
    bool Refresh();

    const Scenario& Current() const { return *m_current; }
    const std::shared_ptr<const Scenario>& Shared() const { return m_current; }
    const std::string& Path() const { return m_path; }

private:
    bool Load();

    std::string m_path;
    std::optional<std::string> m_bytes;  // as last read; nothing when unreadable
    std::shared_ptr<const Scenario> m_current;
};
