// BSTRs laid out as on Windows: a 32-bit byte count, then the text, then a
// terminating NUL that the count does not include.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

unsigned char* Block(BSTR text) { return reinterpret_cast<unsigned char*>(text) - kPrefix; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > (UINT32_MAX - kPrefix) / sizeof(OLECHAR) - 1) return nullptr;
    const uint32_t bytes = static_cast<uint32_t>(length * sizeof(OLECHAR));
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (!block) return nullptr;
    std::memcpy(block, &bytes, kPrefix);
    BSTR result = reinterpret_cast<BSTR>(block + kPrefix);
    if (text)
        std::memcpy(result, text, bytes);
    else
        std::memset(result, 0, bytes);
    result[length] = L'\0';
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(std::wcslen(text)));
}

void SysFreeString(BSTR text) {
    if (text) std::free(Block(text));
}

UINT SysStringLen(BSTR text) {
    if (!text) return 0;
    uint32_t bytes = 0;
    std::memcpy(&bytes, Block(text), kPrefix);
    return bytes / sizeof(OLECHAR);
}
