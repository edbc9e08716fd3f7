#pragma once

#include <optional>
#include <string>

#include "scenario.h"

// A scenario read from its ini file, or why it could not be.
struct ScenarioReadResult {
    std::optional<Scenario> scenario;
    std::string error;
};

// Reads the file with the private-profile functions. Sections sensor1,
// sensor2, ... are read until the first one that has none of the sensor keys.
ScenarioReadResult ReadScenario(const std::string& path);
