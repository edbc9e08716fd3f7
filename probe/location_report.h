#pragma once

#include <windows.h>
#include <sensorsapi.h>

#include "location_reading.h"

// Exit codes of the program, decided by the Location API section.
constexpr int kExitReportComplete = 0;
constexpr int kExitLatLongUnsupported = 1;

int LocationExitCode(const LocationReading& location);

// Prints the section on the Location API's current position, at default and
// at high accuracy, with each providing sensor.
void PrintLocationSection(const LocationReading& location);

// Reads and prints the section; the manager (which may be null) names the
// providing sensors. Returns the exit code.
int PrintLocationReport(ISensorManager* manager);
