// Wide-character formatted printing to standard output with the Microsoft
// runtime's meaning of "%s" and "%c": a wide string and a wide character.
#pragma once

#include <wchar.h>

int WidePrintf(const wchar_t* format, ...);
