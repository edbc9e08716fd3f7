#pragma once

#include <string>

// The executable's full path, read wide and whole, so that a long path or a
// folder outside the ANSI code page is neither cut nor garbled. Empty when
// it cannot be read.
std::wstring ModuleFileName();
