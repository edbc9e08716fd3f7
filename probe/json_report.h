#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "location_reading.h"
#include "sensor_reading.h"

// The report as JSON. A value the platform did not give is left out; a
// name that could not be read is null.
std::string Utf8(const std::wstring& text);
nlohmann::ordered_json NameJson(const SensorName& name);
nlohmann::ordered_json ValuesJson(const std::vector<ReportValue>& values);
nlohmann::ordered_json SensorJson(const SensorReading& sensor);
nlohmann::ordered_json LocationJson(const LocationReading& location);

// One line of UTF-8 JSON ending in a line feed. Every control character,
// DEL and C1 included, is written as an escape, so none reaches a terminal.
std::string JsonLine(const nlohmann::ordered_json& document);
