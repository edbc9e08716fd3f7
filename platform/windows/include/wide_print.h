// Wide-character formatted printing to standard output with the Microsoft
// runtime's meaning of "%s" and "%c": a wide string and a wide character.
#pragma once

#include <windows.h>
#include <locale.h>
#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

#include <string>

namespace wide_print_detail {

// One character (a UTF-16 unit or a surrogate pair) in the code page of the
// runtime's locale. The runtime's own wide printing stops the whole call at a
// character the code page lacks; here that character becomes its best fit or
// a single '?', and the rest of the text follows.
inline void AppendInCodePage(std::string& bytes, const wchar_t* character, int units, unsigned code_page) {
    // The "C" locale: the runtime writes U+0000..U+00FF as those bytes.
    if (code_page == 0) {
        bytes += units == 1 && character[0] < 0x100 ? static_cast<char>(character[0]) : '?';
        return;
    }
    // The UTF code pages represent everything and take no default character.
    const bool utf = code_page == CP_UTF8 || code_page == CP_UTF7;
    char converted[16];
    BOOL used_default = FALSE;
    const int length = WideCharToMultiByte(code_page, 0, character, units, converted, sizeof converted,
                                           utf ? nullptr : "?", utf ? nullptr : &used_default);
    if (length <= 0 || used_default)
        bytes += '?';
    else
        bytes.append(converted, static_cast<size_t>(length));
}

inline std::string InCodePage(const std::wstring& text, unsigned code_page) {
    std::string bytes;
    for (size_t i = 0; i < text.size();) {
        // ASCII is the same in every code page a locale can have; converting
        // it one call at a time is slow under Wine.
        if (text[i] < 0x80) {
            bytes += static_cast<char>(text[i++]);
            continue;
        }
        const bool pair = IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        const int units = pair ? 2 : 1;
        AppendInCodePage(bytes, &text[i], units, code_page);
        i += static_cast<size_t>(units);
    }
    return bytes;
}

}  // namespace wide_print_detail

// Formats with the runtime's own wide formatter, then writes the line in the
// code page of the runtime's locale. Returns the number of wide characters
// formatted, or -1.
inline int WidePrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    va_list counting;
    va_copy(counting, args);
    const int length = _vscwprintf(format, counting);
    va_end(counting);
    if (length < 0) {
        va_end(args);
        return -1;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    _vsnwprintf(text.data(), text.size(), format, args);
    va_end(args);
    text.resize(static_cast<size_t>(length));

    // An unbuffered stdout (a console, or a device such as NUL) would take
    // the bytes one write at a time; the report is written out at exit.
    static const bool buffered = setvbuf(stdout, nullptr, _IOFBF, 1 << 16) == 0;
    (void)buffered;
    const std::string bytes = wide_print_detail::InCodePage(text, ___lc_codepage_func());
    if (fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) return -1;
    return length;
}
