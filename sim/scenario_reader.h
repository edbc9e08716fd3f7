#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scenario.h"

// A scenario read from its ini file, or why it could not be.
struct ScenarioReadResult {
    std::optional<Scenario> scenario;
    std::string error;
};

// Reads a scenario from the text of its ini file. Sections sensor1, sensor2,
// ... are read until the first one that has none of the sensor keys.
ScenarioReadResult ParseScenario(std::string_view text);
// The same from the file at `path`.
ScenarioReadResult ReadScenario(const std::string& path);
