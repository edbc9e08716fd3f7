#pragma once

#include <chrono>
#include <string>

#include <nlohmann/json.hpp>

#include "sensor_watch.h"

// "2026-01-31T23:59:59.123Z"
std::string UtcTimeText(std::chrono::system_clock::time_point time);

// One event as a line of the report's text: time, id, name, what changed.
std::wstring WatchEventText(const WatchEvent& event);
nlohmann::ordered_json WatchEventJson(const WatchEvent& event);
