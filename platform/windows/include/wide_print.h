// Wide-character formatted printing to standard output with the Microsoft
// runtime's meaning of "%s" and "%c": a wide string and a wide character.
#pragma once

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

// MinGW-w64 routes wprintf to its own C99 implementation in C++, where "%s"
// is a narrow string; the runtime's own entry point keeps the Microsoft meaning.
inline int WidePrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = __ms_vwprintf(format, args);
    va_end(args);
    return written;
}
