// GUIDs as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", written in upper
// case, read in either case.
#include <objbase.h>

#include <cstring>

namespace {

constexpr int kGuidTextLength = 38;  // without the terminator
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Positions of the 32 hex digits in the text, in byte order of the value as
// written: Data1, Data2, Data3, then the eight bytes of Data4.
constexpr int kDigitPositions[32] = {1,  2,  3,  4,  5,  6,  7,  8,  10, 11, 12, 13, 15, 16, 17, 18,
                                     20, 21, 22, 23, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36};

void ValueDigits(REFGUID guid, unsigned char digits[32]) {
    unsigned char bytes[16] = {
        static_cast<unsigned char>(guid.Data1 >> 24), static_cast<unsigned char>(guid.Data1 >> 16),
        static_cast<unsigned char>(guid.Data1 >> 8),  static_cast<unsigned char>(guid.Data1),
        static_cast<unsigned char>(guid.Data2 >> 8),  static_cast<unsigned char>(guid.Data2),
        static_cast<unsigned char>(guid.Data3 >> 8),  static_cast<unsigned char>(guid.Data3)};
    std::memcpy(bytes + 8, guid.Data4, 8);
    for (int i = 0; i < 16; ++i) {
        digits[2 * i] = bytes[i] >> 4;
        digits[2 * i + 1] = bytes[i] & 0x0F;
    }
}

void WriteGuid(REFGUID guid, LPOLESTR text) {
    unsigned char digits[32];
    ValueDigits(guid, digits);
    const char* layout = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    for (int i = 0; i < kGuidTextLength; ++i) text[i] = static_cast<OLECHAR>(layout[i]);
    for (int i = 0; i < 32; ++i) text[kDigitPositions[i]] = static_cast<OLECHAR>(kHexDigits[digits[i]]);
    text[kGuidTextLength] = L'\0';
}

int HexValue(OLECHAR c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

bool ParseGuid(LPCOLESTR text, GUID& guid) {
    for (int i = 0; i < kGuidTextLength; ++i)
        if (text[i] == L'\0') return false;
    if (text[kGuidTextLength] != L'\0' || text[0] != L'{' || text[37] != L'}' || text[9] != L'-' ||
        text[14] != L'-' || text[19] != L'-' || text[24] != L'-')
        return false;
    unsigned char bytes[16] = {};
    for (int i = 0; i < 32; ++i) {
        const int value = HexValue(text[kDigitPositions[i]]);
        if (value < 0) return false;
        bytes[i / 2] = static_cast<unsigned char>(bytes[i / 2] << 4 | value);
    }
    guid.Data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                 static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    guid.Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    guid.Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    std::memcpy(guid.Data4, bytes + 8, 8);
    return true;
}

}  // namespace

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text) {
    if (!text) return E_INVALIDARG;
    *text = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidTextLength + 1) * sizeof(OLECHAR)));
    if (!*text) return E_OUTOFMEMORY;
    WriteGuid(clsid, *text);
    return S_OK;
}

int StringFromGUID2(REFGUID guid, LPOLESTR text, int size) {
    if (!text || size < kGuidTextLength + 1) return 0;
    WriteGuid(guid, text);
    return kGuidTextLength + 1;
}

// A null text stands for the null GUID, as on Windows.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
    if (!clsid) return E_INVALIDARG;
    GUID parsed{};
    if (text && !ParseGuid(text, parsed)) {
        *clsid = GUID{};
        return CO_E_CLASSSTRING;
    }
    *clsid = parsed;
    return S_OK;
}

HRESULT IIDFromString(LPCOLESTR text, LPIID iid) {
    if (!iid) return E_INVALIDARG;
    GUID parsed{};
    if (text && !ParseGuid(text, parsed)) return CO_E_CLASSSTRING;
    *iid = parsed;
    return S_OK;
}
