#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include <optional>
#include <string>

// A sensor's friendly name: none when the call fails, empty when the sensor
// gives a null string.
std::optional<std::wstring> ReadFriendlyName(ISensor* sensor);
