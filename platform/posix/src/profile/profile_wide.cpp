// The wide private-profile functions: the narrow ones with names and text
// converted, so the file keeps its 8-bit text.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/wide_text.h"

using wide_text::Narrow;
using wide_text::Widen;

namespace {

// Null stays null: it means "all keys", "delete" or "no default".
struct NarrowArg {
    explicit NarrowArg(LPCWSTR text) : present(text != nullptr), value(Narrow(text)) {}
    LPCSTR get() const { return present ? value.c_str() : nullptr; }
    bool present;
    std::string value;
};

}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR returned, DWORD size,
                               LPCWSTR fileName) {
    if (!returned || size == 0) return 0;
    const NarrowArg narrowSection(section), narrowKey(key), narrowDefault(defaultValue), narrowFile(fileName);
    // Up to four bytes a character, and room for lists of names.
    std::vector<char> buffer(static_cast<size_t>(size) * 4 + 2);
    const DWORD got = GetPrivateProfileStringA(narrowSection.get(), narrowKey.get(), narrowDefault.get(),
                                               buffer.data(), static_cast<DWORD>(buffer.size()), narrowFile.get());
    // Lists of names are zero-separated: convert each byte run as it stands.
    std::wstring wide;
    for (size_t start = 0; start <= got;) {
        const size_t end = std::find(buffer.begin() + start, buffer.begin() + got, '\0') - buffer.begin();
        wide += Widen(std::string(buffer.data() + start, end - start));
        if (end >= got) break;
        wide += L'\0';
        start = end + 1;
    }
    const size_t count = std::min<size_t>(wide.size(), size - 1);
    std::memcpy(returned, wide.data(), count * sizeof(WCHAR));
    returned[count] = L'\0';
    return static_cast<DWORD>(count);
}

UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName) {
    const NarrowArg narrowSection(section), narrowKey(key), narrowFile(fileName);
    return GetPrivateProfileIntA(narrowSection.get(), narrowKey.get(), defaultValue, narrowFile.get());
}

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName) {
    const NarrowArg narrowSection(section), narrowKey(key), narrowValue(value), narrowFile(fileName);
    return WritePrivateProfileStringA(narrowSection.get(), narrowKey.get(), narrowValue.get(), narrowFile.get());
}
