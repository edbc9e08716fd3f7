// MultiByteToWideChar and WideCharToMultiByte. The ANSI code page is UTF-8
// here and wchar_t holds UTF-32. Malformed input becomes U+FFFD (one per
// maximal ill-formed part, as Windows does) unless the caller asked for an
// error instead.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "kernel/posix_errors.h"

namespace {

constexpr UINT kCodePageOem = 1;
constexpr UINT kCodePageThreadAnsi = 3;
constexpr DWORD kMbErrInvalidChars = 0x08;
constexpr DWORD kWcErrInvalidChars = 0x80;
// Every flag Windows knows for each direction (precomposed, composite,
// glyph characters; composite check, discard non-spacing, separate
// characters, default character, no best fit).
constexpr DWORD kMbKnownFlags = 0x01 | 0x02 | 0x04 | kMbErrInvalidChars;
constexpr DWORD kWcKnownFlags = 0x10 | 0x20 | 0x40 | kWcErrInvalidChars | 0x200 | 0x400;
constexpr char32_t kReplacement = 0xFFFD;

bool IsUtf8CodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_UTF8 || codePage == kCodePageOem ||
           codePage == kCodePageThreadAnsi;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Decodes one character at text[i], advancing i; false for an ill-formed part.
bool DecodeUtf8(const unsigned char* text, size_t length, size_t& i, char32_t& code) {
    const unsigned char lead = text[i++];
    if (lead < 0x80) {
        code = lead;
        return true;
    }
    int more = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        else if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return false;
    }
    for (int n = 0; n < more; ++n, low = 0x80, high = 0xBF) {
        if (i >= length || text[i] < low || text[i] > high) return false;
        code = (code << 6) | (text[i++] & 0x3F);
    }
    return true;
}

size_t EncodeUtf8(char32_t code, char* out) {
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code >> 6));
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code >> 12));
        out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one character at wide[i], advancing i; UTF-16 surrogate pairs are
// joined. False for a lone surrogate or a value beyond U+10FFFF.
bool DecodeWide(LPCWSTR wide, size_t length, size_t& i, char32_t& code) {
    code = static_cast<char32_t>(wide[i++]);
    if (IsHighSurrogate(code) && i < length && IsLowSurrogate(static_cast<char32_t>(wide[i]))) {
        code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(wide[i++]) - 0xDC00);
        return true;
    }
    return code <= 0x10FFFF && !IsHighSurrogate(code) && !IsLowSurrogate(code);
}

}  // namespace

// Any negative source length means "up to and with the terminator", as on
// Windows; a destination length without a destination is an error.
// Differs from Windows: the ANSI code page is UTF-8.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount) {
    if (!IsUtf8CodePage(codePage) || !multiByte || multiByteCount == 0 || wideCount < 0 ||
        (!wide && wideCount != 0) ||
        (wide && static_cast<const void*>(wide) == static_cast<const void*>(multiByte)))
        return Fail(ERROR_INVALID_PARAMETER);
    if ((flags & ~(codePage == CP_UTF8 ? kMbErrInvalidChars : kMbKnownFlags)) != 0) return Fail(kErrorInvalidFlags);

    const size_t length =
        multiByteCount < 0 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
    const auto* text = reinterpret_cast<const unsigned char*>(multiByte);
    size_t written = 0;
    for (size_t i = 0; i < length;) {
        char32_t code = 0;
        if (!DecodeUtf8(text, length, i, code)) {
            if (flags & kMbErrInvalidChars) return Fail(kErrorNoUnicodeTranslation);
            code = kReplacement;
        }
        if (written >= INT_MAX) return Fail(ERROR_INVALID_PARAMETER);
        if (wideCount > 0) {
            if (written >= static_cast<size_t>(wideCount)) return Fail(ERROR_INSUFFICIENT_BUFFER);
            wide[written] = static_cast<WCHAR>(code);
        }
        ++written;
    }
    return static_cast<int>(written);
}

// Differs from Windows: the ANSI code page is UTF-8.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!IsUtf8CodePage(codePage) || !wide || wideCount == 0 || multiByteCount < 0 ||
        (!multiByte && multiByteCount != 0) ||
        (multiByte && static_cast<const void*>(wide) == static_cast<const void*>(multiByte)))
        return Fail(ERROR_INVALID_PARAMETER);
    if ((flags & ~(codePage == CP_UTF8 ? kWcErrInvalidChars : kWcKnownFlags)) != 0) return Fail(kErrorInvalidFlags);
    // Since Windows 10 1709, UTF-8 takes a default character and its flag
    // but uses neither: what cannot be written becomes U+FFFD.
    if (codePage == CP_UTF8) defaultChar = nullptr;

    const size_t length = wideCount < 0 ? std::wcslen(wide) + 1 : static_cast<size_t>(wideCount);
    bool usedDefault = false;
    size_t written = 0;
    for (size_t i = 0; i < length;) {
        // ASCII, the common case, is copied as it is.
        if (static_cast<std::uint32_t>(wide[i]) < 0x80 && written < INT_MAX) {
            if (multiByteCount > 0) {
                if (written >= static_cast<size_t>(multiByteCount)) return Fail(ERROR_INSUFFICIENT_BUFFER);
                multiByte[written] = static_cast<char>(wide[i]);
            }
            ++written;
            ++i;
            continue;
        }
        char bytes[4];
        size_t count = 0;
        char32_t code = 0;
        if (DecodeWide(wide, length, i, code)) {
            count = EncodeUtf8(code, bytes);
        } else {
            if (flags & kWcErrInvalidChars) return Fail(kErrorNoUnicodeTranslation);
            usedDefault = true;
            if (defaultChar && *defaultChar) {
                bytes[0] = *defaultChar;
                count = 1;
            } else {
                count = EncodeUtf8(kReplacement, bytes);
            }
        }
        if (written + count > INT_MAX) return Fail(ERROR_INVALID_PARAMETER);
        if (multiByteCount > 0) {
            if (written + count > static_cast<size_t>(multiByteCount)) return Fail(ERROR_INSUFFICIENT_BUFFER);
            std::memcpy(multiByte + written, bytes, count);
        }
        written += count;
    }
    if (usedDefaultChar) *usedDefaultChar = usedDefault && codePage != CP_UTF8 ? TRUE : FALSE;
    return static_cast<int>(written);
}
