// MultiByteToWideChar and WideCharToMultiByte as Windows answers them, for
// the code pages the stand-in knows: the ANSI ones with plain ASCII text
// (Windows' own ANSI page differs from the stand-in's UTF-8 only above it),
// and UTF-8.
// The rows with ASCII text and their expected answers come from Wine's
// conformance tests, dlls/kernel32/tests/codepage.c (Wine's tests are
// LGPL-2.1-or-later). Test data only: nothing of this file is shipped.
#include <windows.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <string>

#include "conformance.h"

using conformance::Check;

namespace {

constexpr DWORD kUntouched = 0xdeadbeef;
constexpr DWORD kInvalidFlags = 1004;          // ERROR_INVALID_FLAGS
constexpr DWORD kNoTranslation = 1113;         // ERROR_NO_UNICODE_TRANSLATION
constexpr UINT kThreadAnsi = 3;                // CP_THREAD_ACP
constexpr DWORD kMbErrInvalidChars = 0x08;     // MB_ERR_INVALID_CHARS
constexpr DWORD kWcErrInvalidChars = 0x80;     // WC_ERR_INVALID_CHARS
constexpr const char* kNoOutput = nullptr;

// A destination of 16 units filled with 'x' unless `noDestination`; the
// expected output is compared over `outputLength` units when given.
struct ToWideRow {
    const char* what;
    UINT codePage;
    DWORD flags;
    const char* source;
    int sourceLength;
    bool noDestination;
    int destinationLength;
    int result;
    DWORD error;
    const wchar_t* output;
    int outputLength;
    const char* wine;
};

const ToWideRow kToWide[] = {
    {"a string with its end", CP_ACP, 0, "foobar", -1, false, 16, 7, kUntouched, L"foobar", 7, nullptr},
    {"any negative length counts to the end", CP_ACP, 0, "foobar", -2002, false, 16, 7, kUntouched, L"foobar", 7,
     nullptr},
    {"the thread's ANSI page", kThreadAnsi, 0, "foobar", -1, true, 0, 7, kUntouched, nullptr, 0, nullptr},
    {"a destination one short", CP_ACP, 0, "foobar", -1, false, 6, 0, ERROR_INSUFFICIENT_BUFFER, nullptr, 0,
     nullptr},
    {"a negative destination length", CP_ACP, 0, "foobar", -1, false, -1, 0, ERROR_INVALID_PARAMETER, nullptr, 0,
     nullptr},
    {"negative lengths both ways", CP_ACP, 0, "foobar", -1000, false, -1, 0, ERROR_INVALID_PARAMETER, nullptr, 0,
     nullptr},
    {"an unknown flag", CP_ACP, 0x10, "Hello World", -1, false, 12, 0, kInvalidFlags, nullptr, 0, nullptr},
    {"an unknown code page before an unknown flag", 0xdeadbeef, 0x10, "Hello World", 12, false, 12, 0,
     ERROR_INVALID_PARAMETER, nullptr, 0, nullptr},
    {"no source before an unknown flag", CP_ACP, 0x10, nullptr, -1, false, 12, 0, ERROR_INVALID_PARAMETER, nullptr,
     0, nullptr},
    {"an empty source", CP_ACP, 0, "Hello World", 0, false, 12, 0, ERROR_INVALID_PARAMETER, nullptr, 0, nullptr},
    {"a length without a destination", CP_ACP, 0, "Hello World", 12, true, 12, 0, ERROR_INVALID_PARAMETER,
     nullptr, 0, nullptr},
    {"UTF-8 with the error flag on good text", CP_UTF8, kMbErrInvalidChars, "Z\xC3\xBC", 3, false, 16, 2,
     kUntouched, L"Z\u00FC", 2, nullptr},
    {"UTF-8 refuses a stray continuation byte", CP_UTF8, kMbErrInvalidChars, "a\x80", 2, false, 16, 0,
     kNoTranslation, nullptr, 0, nullptr},
    {"UTF-8 refuses an overlong form", CP_UTF8, kMbErrInvalidChars, "\xC0\xAF", 2, false, 16, 0, kNoTranslation,
     nullptr, 0, nullptr},
    {"UTF-8 refuses an encoded surrogate", CP_UTF8, kMbErrInvalidChars, "\xED\xA0\x80", 3, false, 16, 0,
     kNoTranslation, nullptr, 0, nullptr},
    {"UTF-8 refuses a cut sequence", CP_UTF8, kMbErrInvalidChars, "\xE2\x82", 2, true, 0, 0, kNoTranslation,
     nullptr, 0, nullptr},
    {"UTF-8 replaces what is malformed", CP_UTF8, 0, "a\x80" "b", 3, false, 16, 3, kUntouched, L"a\uFFFDb", 3,
     nullptr},
    {"UTF-8 gives the precomposed flag an error", CP_UTF8, 0x01, "a", 1, false, 16, 0, kInvalidFlags,
     nullptr, 0, "Wine accepts the flag"},
};

struct ToNarrowRow {
    const char* what;
    UINT codePage;
    DWORD flags;
    const wchar_t* source;
    int sourceLength;
    bool noDestination;
    int destinationLength;
    const char* defaultChar;
    bool askUsedDefault;
    int result;
    DWORD error;
    const char* output;  // the bytes written first; an 'x' is one left as it was
    const char* wine;
};

const ToNarrowRow kToNarrow[] = {
    {"a string with its end", CP_ACP, 0, L"foobar", -1, false, 16, nullptr, false, 7, kUntouched, "foobar", nullptr},
    {"a destination of the exact size", CP_ACP, 0, L"foobar", -1, false, 7, nullptr, false, 7, kUntouched, "foobar",
     nullptr},
    {"a destination one short keeps what fitted", CP_ACP, 0, L"foobar", -1, false, 6, nullptr, false, 0,
     ERROR_INSUFFICIENT_BUFFER, "foobarx", nullptr},
    {"a destination of one", CP_ACP, 0, L"foobar", -1, false, 1, nullptr, false, 0, ERROR_INSUFFICIENT_BUFFER, "fx",
     nullptr},
    {"measuring only", CP_ACP, 0, L"foobar", -1, true, 0, nullptr, false, 7, kUntouched, kNoOutput, nullptr},
    {"a length without a destination", CP_ACP, 0, L"foobar", -1, true, 7, nullptr, false, 0,
     ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"no source, no length", CP_ACP, 0, nullptr, 0, true, 0, nullptr, false, 0, ERROR_INVALID_PARAMETER, kNoOutput,
     nullptr},
    {"no source", CP_ACP, 0, nullptr, -1, true, 0, nullptr, false, 0, ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"any negative length counts to the end", CP_ACP, 0, L"foobar", -2002, false, 10, nullptr, false, 7,
     kUntouched, "foobar", nullptr},
    {"the thread's ANSI page", kThreadAnsi, 0, L"foobar", -1, true, 0, nullptr, false, 7, kUntouched, kNoOutput,
     nullptr},
    {"a negative destination length", CP_ACP, 0, L"foobar", -1, false, -1, nullptr, false, 0,
     ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"a very negative destination length", CP_ACP, 0, L"foobar", -1, false, -1000, nullptr, false, 0,
     ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"the largest destination length", CP_ACP, 0, L"foobar", -1, false, INT_MAX, nullptr, false, 7, kUntouched,
     "foobar", nullptr},
    {"an unknown flag", CP_ACP, 0x100, L"Hello World", -1, false, 12, nullptr, false, 0, kInvalidFlags, kNoOutput,
     nullptr},
    {"another unknown flag", CP_ACP, 0x800, L"Hello World", -1, false, 12, nullptr, false, 0, kInvalidFlags,
     kNoOutput, nullptr},
    {"an unknown code page before an unknown flag", 0xdeadbeef, 0x100, L"Hello World", 12, false, 12, nullptr,
     false, 0, ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"no source before an unknown flag", CP_ACP, 0x100, nullptr, -1, false, 12, nullptr, false, 0,
     ERROR_INVALID_PARAMETER, kNoOutput, nullptr},
    {"an empty source", CP_ACP, 0, L"Hello World", 0, false, 12, nullptr, false, 0, ERROR_INVALID_PARAMETER,
     kNoOutput, nullptr},
    {"UTF-8 takes a default character", CP_UTF8, 0, L"Hello World", 12, false, 12, "?", false, 12, kUntouched,
     "Hello World", nullptr},
    {"UTF-8 takes the used-default flag", CP_UTF8, 0, L"Hello World", 12, false, 12, nullptr, true, 12, kUntouched,
     "Hello World", nullptr},
    {"UTF-8 with an unknown flag and the used-default flag", CP_UTF8, 0x100, L"Hello World", 12, false, 12,
     nullptr, true, 0, kInvalidFlags, kNoOutput, nullptr},
    {"UTF-8 replaces a lone surrogate", CP_UTF8, 0, L"a\xD800" L"b", 3, false, 16, nullptr, false, 5, kUntouched,
     "a\xEF\xBF\xBD" "b", nullptr},
    {"UTF-8 refuses a lone surrogate when asked", CP_UTF8, kWcErrInvalidChars, L"a\xD800" L"b", 3, false, 16,
     nullptr, false, 0, kNoTranslation, kNoOutput, nullptr},
};

}  // namespace

void CheckCodePages() {
    conformance::BeginGroup("MultiByteToWideChar");
    for (const ToWideRow& row : kToWide) {
        wchar_t output[16];
        for (wchar_t& c : output) c = L'x';
        SetLastError(kUntouched);
        const int result = MultiByteToWideChar(row.codePage, row.flags, row.source, row.sourceLength,
                                               row.noDestination ? nullptr : output, row.destinationLength);
        const DWORD error = GetLastError();
        Check(result == row.result, std::string(row.what) + ": result", row.wine);
        Check(error == row.error, std::string(row.what) + ": last error", row.wine);
        if (row.output)
            Check(std::wstring(output, row.outputLength) == std::wstring(row.output, row.outputLength),
                  std::string(row.what) + ": text", row.wine);
    }
    // A character beyond the 16-bit range takes two UTF-16 units on Windows,
    // one unit where wchar_t holds UTF-32.
    const int units = MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, nullptr, 0);
    Check(units == (sizeof(wchar_t) == 2 ? 2 : 1), "a character beyond the 16-bit range");

    conformance::BeginGroup("WideCharToMultiByte");
    for (const ToNarrowRow& row : kToNarrow) {
        char output[17];
        std::memset(output, 'x', 16);
        output[16] = '\0';
        BOOL usedDefault = 7;
        SetLastError(kUntouched);
        const int result = WideCharToMultiByte(row.codePage, row.flags, row.source, row.sourceLength,
                                               row.noDestination ? nullptr : output, row.destinationLength,
                                               row.defaultChar, row.askUsedDefault ? &usedDefault : nullptr);
        const DWORD error = GetLastError();
        Check(result == row.result, std::string(row.what) + ": result", row.wine);
        Check(error == row.error, std::string(row.what) + ": last error", row.wine);
        if (row.output)
            Check(std::memcmp(output, row.output, std::strlen(row.output)) == 0, std::string(row.what) + ": text",
                  row.wine);
    }
}
