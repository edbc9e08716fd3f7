#pragma once

#include <windows.h>
#include <sensorsapi.h>

// Exit codes of the program, decided by the Location API section.
constexpr int kExitReportComplete = 0;
constexpr int kExitLatLongUnsupported = 1;

// Prints the section on the Location API's current position, at default and
// at high accuracy, naming each providing sensor through the manager (which
// may be null). Returns the exit code.
int PrintLocationReport(ISensorManager* manager);
