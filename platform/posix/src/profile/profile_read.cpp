// GetPrivateProfileStringA and GetPrivateProfileIntA with the results,
// buffer cuts and return values Windows gives.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "profile_cache.h"
#include "profile_path.h"

namespace {

std::shared_ptr<const ProfileDocument> Load(LPCSTR fileName) {
    const std::string path = fileName && !*fileName ? std::string() : ProfilePath(fileName);
    if (path.empty()) return std::make_shared<const ProfileDocument>();
    return CachedProfile(path.c_str());
}

// Copies as much as fits with its terminator; returns the length copied.
DWORD CopyCut(std::string_view text, LPSTR out, DWORD size) {
    const size_t length = std::min<size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return static_cast<DWORD>(length);
}

// A list of names, each ending in NUL, the list ending in another NUL. When
// it does not fit, the last name that fits in part is cut, the list is still
// closed by two NULs, and the result is size - 2 (even when the whole list
// would have fitted exactly: Windows needs one spare character).
DWORD CopyList(const std::vector<std::string_view>& names, LPSTR out, DWORD size) {
    if (size == 1) {
        out[0] = '\0';
        return 0;
    }
    size_t room = size - 1;
    LPSTR next = out;
    for (std::string_view name : names) {
        if (name.size() + 1 >= room) {
            std::memcpy(next, name.data(), room - 1);
            next += room - 1;
            *next++ = '\0';
            *next = '\0';
            return size - 2;
        }
        std::memcpy(next, name.data(), name.size());
        next[name.size()] = '\0';
        next += name.size() + 1;
        room -= name.size() + 1;
    }
    *next = '\0';
    return static_cast<DWORD>(next - out);
}

std::string_view DefaultText(LPCSTR defaultValue) {
    std::string_view text = defaultValue ? defaultValue : "";
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// RtlUnicodeStringToInteger with base 0, which Windows uses here: blanks and
// control characters, a sign, "0x", "0o" or "0b", then digits up to the
// first that does not belong; arithmetic wraps modulo 2^32.
UINT ParseProfileInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    UINT base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
        case 'x': base = 16; break;
        case 'o': base = 8; break;
        case 'b': base = 2; break;
        default: break;
        }
        if (base != 10) i += 2;
    }
    UINT total = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        UINT digit = base;
        if (c >= '0' && c <= '9')
            digit = static_cast<UINT>(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<UINT>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<UINT>(c - 'A' + 10);
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName) {
    if (!returned || size == 0) return 0;
    const auto loaded = Load(fileName);
    const ProfileDocument& document = *loaded;

    if (!section) return CopyList(document.SectionNames(), returned, size);
    if (!key) {
        const DWORD length = CopyList(document.KeyNames(section), returned, size);
        if (returned[0] != '\0') return length;
        return CopyCut(DefaultText(defaultValue), returned, size);
    }
    const auto value = document.Value(section, key);
    return CopyCut(value ? *value : DefaultText(defaultValue), returned, size);
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    // Windows reads the value into a buffer of 30 characters.
    char buffer[30];
    if (GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, fileName) == 0)
        return static_cast<UINT>(defaultValue);
    return ParseProfileInt(buffer);
}
