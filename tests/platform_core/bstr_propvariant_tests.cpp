#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

TEST(BstrTest, LengthIsStoredInBytesBeforeTheText) {
    const BSTR text = SysAllocStringLen(L"ab\0cd", 5);
    ASSERT_NE(text, nullptr);
    uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
    EXPECT_EQ(bytes, 5 * sizeof(OLECHAR));
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(std::wstring(text, 5), std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(text[5], L'\0');
    SysFreeString(text);

    const BSTR copy = SysAllocString(L"Lodestar");
    EXPECT_EQ(SysStringLen(copy), 8u);
    EXPECT_EQ(std::wstring(copy), L"Lodestar");
    SysFreeString(copy);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

// Leaks or wrong frees here show up under the address sanitizer.
TEST(PropVariantTest, ClearFreesWhatTheVariantOwnsAndEmptiesIt) {
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"name");
    EXPECT_EQ(PropVariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(value.bstrVal, nullptr);

    value.vt = VT_LPWSTR;
    value.pwszVal = static_cast<LPWSTR>(CoTaskMemAlloc(8 * sizeof(WCHAR)));
    EXPECT_EQ(PropVariantClear(&value), S_OK);
    value.vt = VT_CLSID;
    value.puuid = static_cast<CLSID*>(CoTaskMemAlloc(sizeof(CLSID)));
    EXPECT_EQ(PropVariantClear(&value), S_OK);
    value.vt = VT_R8;
    value.dblVal = 47.5;
    EXPECT_EQ(PropVariantClear(&value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
}

}  // namespace
