#pragma once

#include <filesystem>
#include <string>

// The environment variable that names the scenario file.
constexpr char kScenarioVariable[] = "SENSORSIM_SCENARIO";

// Under Wine a Windows program sees the Unix file system as drive Z:, so on a
// system whose separator is '\' a path starting with '/' becomes "Z:" plus
// the path with '\' separators. Other paths, and every path where the
// separator is '/', are returned unchanged.
std::string ScenarioPathForSystem(const std::string& path,
                                  char separator = static_cast<char>(std::filesystem::path::preferred_separator));

// The scenario file named by the environment, or "" when none is.
std::string ScenarioPathFromEnvironment();
