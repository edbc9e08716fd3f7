#pragma once

#include <windows.h>

// The current time in UTC, as the report timestamps carry it.
SYSTEMTIME CurrentSystemTime();
