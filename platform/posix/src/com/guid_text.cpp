// GUIDs as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", written in upper
// case, read in either case.
#include <objbase.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

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

// Reads the text field by field into guid, as Windows does: each field is
// stored as its digits are read, so on bad text the fields before the fault
// hold what was read and those after it keep their old values. True only
// for exactly the braced form.
bool ParseGuidFields(LPCOLESTR text, GUID& guid) {
    auto readHex = [text](int from, int digits, auto& field) {
        field = 0;
        for (int i = from; i < from + digits; ++i) {
            const int value = HexValue(text[i]);
            if (value < 0) return false;
            field = static_cast<std::remove_reference_t<decltype(field)>>(field << 4 | value);
        }
        return true;
    };
    if (!readHex(1, 8, guid.Data1) || text[9] != L'-' || !readHex(10, 4, guid.Data2) || text[14] != L'-' ||
        !readHex(15, 4, guid.Data3) || text[19] != L'-')
        return false;
    for (int byte = 0, i = 20; byte < 8; ++byte, i += 2) {
        if (i == 24 && text[i++] != L'-') return false;
        unsigned char value = 0;
        if (!readHex(i, 2, value)) return false;
        guid.Data4[byte] = value;
    }
    return text[37] == L'}' && text[38] == L'\0';
}

size_t TextLength(LPCOLESTR text) {
    size_t length = 0;
    while (text[length]) ++length;
    return length;
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

// A null text stands for the null GUID, as on Windows. Text that does not
// start with a brace gives the null GUID; braced text that goes wrong keeps
// what was read up to the fault.
// Differs from Windows: no ProgID lookup.
HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
    if (!clsid) return E_INVALIDARG;
    if (!text) {
        *clsid = GUID{};
        return S_OK;
    }
    if (text[0] != L'{') {
        *clsid = GUID{};
        return CO_E_CLASSSTRING;
    }
    return ParseGuidFields(text, *clsid) ? S_OK : CO_E_CLASSSTRING;
}

// Only text of exactly the braced length is read at all.
HRESULT IIDFromString(LPCOLESTR text, LPIID iid) {
    if (!iid) return E_INVALIDARG;
    if (!text) {
        *iid = GUID{};
        return S_OK;
    }
    if (TextLength(text) != kGuidTextLength) return E_INVALIDARG;
    if (text[0] != L'{') return CO_E_IIDSTRING;
    return ParseGuidFields(text, *iid) ? S_OK : CO_E_IIDSTRING;
}
