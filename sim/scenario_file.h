#pragma once

#include <string>

#include "file_stamp.h"
#include "scenario.h"

// A scenario file and the last scenario that was read from it successfully.
// A file that is missing or has a mistake leaves the previous scenario in
// force (at first the empty one) and is reported in one line on standard
// error.
class ScenarioFile {
public:
    // An empty path stands for no file: the empty scenario, never reloaded.
    explicit ScenarioFile(std::string path);

    // Reads the file again if its time or size changed; true when a new
    // scenario took effect.
    bool Refresh();

    const Scenario& Current() const { return current_; }
    const std::string& Path() const { return path_; }

private:
    bool Load();

    std::string path_;
    FileStamp stamp_;
    Scenario current_;
};
