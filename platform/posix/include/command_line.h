// Command-line conventions of the platform.
#pragma once

// Whether an argument asks for help in the platform's own way beside
// "--help": none here.
inline bool IsPlatformHelpSwitch(const wchar_t*) { return false; }
