// GUID text: CLSIDFromString and IIDFromString on any text; text they accept
// is the braced form of the GUID read, which StringFromGUID2 writes back. The
// first 16 bytes as a GUID also go through StringFromGUID2 and back.
#include <objbase.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>

namespace {

bool Same(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// The written form parses back to the same GUID, in both readers.
void CheckWritten(const GUID& guid) {
    OLECHAR text[39];
    if (StringFromGUID2(guid, text, 39) != 39) std::abort();
    GUID read{};
    if (CLSIDFromString(text, &read) != S_OK || !Same(read, guid)) std::abort();
    read = GUID{};
    if (IIDFromString(text, &read) != S_OK || !Same(read, guid)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Bytes from 0x80 stand for U+FF00 to U+FF7F, where the full-width digits,
    // letters, braces and hyphen are: a reader must take none of them.
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(data[i] < 0x80 ? data[i] : 0xFF00 | (data[i] & 0x7F));

    GUID clsid{};
    const HRESULT clsidResult = CLSIDFromString(text.c_str(), &clsid);
    GUID iid{};
    const HRESULT iidResult = IIDFromString(text.c_str(), &iid);
    if (iidResult == S_OK && (clsidResult != S_OK || !Same(iid, clsid))) std::abort();
    if (clsidResult == S_OK) {
        OLECHAR written[39];
        if (StringFromGUID2(clsid, written, 39) != 39) std::abort();
        const std::wstring accepted = text.substr(0, text.find(L'\0'));
        if (accepted.size() != 38) std::abort();
        for (std::size_t i = 0; i < 38; ++i)
            if (static_cast<wchar_t>(std::towupper(accepted[i])) != written[i]) std::abort();
        CheckWritten(clsid);
    }
    if (size >= sizeof(GUID)) {
        GUID guid;
        std::memcpy(&guid, data, sizeof guid);
        CheckWritten(guid);
    }
    return 0;
}
