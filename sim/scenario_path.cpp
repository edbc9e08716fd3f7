#include "scenario_path.h"

#include <algorithm>
#include <cstdlib>

std::string ScenarioPathForSystem(const std::string& path, char separator) {
    if (separator != '\\' || path.empty() || path.front() != '/') return path;
    std::string converted = "Z:" + path;
    std::replace(converted.begin(), converted.end(), '/', '\\');
    return converted;
}

std::string ScenarioPathFromEnvironment() {
    const char* path = std::getenv(kScenarioVariable);
    return path == nullptr ? std::string() : ScenarioPathForSystem(path);
}
