#include <wide_print.h>

#include <cstdarg>
#include <cwchar>
#include <string>

namespace {

bool IsConversion(wchar_t c) {
    return std::wcschr(L"diouxXeEfFgGaAcspn%", c) != nullptr;
}

// C99 reads "%s" and "%c" in a wide format as narrow; give each one without a
// length modifier the "l" that makes it wide, as the Microsoft runtime reads it.
std::wstring WithWideStrings(const wchar_t* format) {
    std::wstring result;
    for (const wchar_t* p = format; *p != L'\0'; ++p) {
        result += *p;
        if (*p != L'%') continue;
        const wchar_t* spec = p + 1;
        while (*spec != L'\0' && !IsConversion(*spec)) ++spec;
        if (*spec == L'\0') break;
        const bool has_length = std::wcschr(L"hlLqjzt", spec[-1]) != nullptr && spec - 1 > p;
        result.append(p + 1, spec);
        if ((*spec == L's' || *spec == L'c') && !has_length) result += L'l';
        result += *spec;
        p = spec;
    }
    return result;
}

}  // namespace

int WidePrintf(const wchar_t* format, ...) {
    const std::wstring converted = WithWideStrings(format);
    va_list args;
    va_start(args, format);
    const int written = std::vwprintf(converted.c_str(), args);
    va_end(args);
    return written;
}
