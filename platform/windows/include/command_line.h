// Command-line conventions of the platform.
#pragma once

#include <wchar.h>

// Whether an argument asks for help in the platform's own way beside
// "--help": "/?" on Windows.
inline bool IsPlatformHelpSwitch(const wchar_t* argument) { return wcscmp(argument, L"/?") == 0; }
