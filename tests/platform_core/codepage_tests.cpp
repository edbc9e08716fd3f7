#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kUtf8[] = "Z\xC3\xBCrich \xE5\x8C\x97\xE4\xBA\xAC \xF0\x9F\x98\x80";  // Zürich 北京 😀
const wchar_t kWide[] = L"Z\u00FCrich \u5317\u4EAC \U0001F600";

TEST(CodePageTest, Utf8AndWideRoundTripWithWindowsCounts) {
    for (UINT codePage : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_UTF8)}) {
        const int needed = MultiByteToWideChar(codePage, 0, kUtf8, -1, nullptr, 0);
        ASSERT_EQ(needed, 12);  // eleven characters and the terminator
        wchar_t wide[12];
        ASSERT_EQ(MultiByteToWideChar(codePage, 0, kUtf8, -1, wide, needed), needed);
        EXPECT_EQ(std::wstring(wide), kWide);

        EXPECT_EQ(WideCharToMultiByte(codePage, 0, kWide, -1, nullptr, 0, nullptr, nullptr),
                  static_cast<int>(sizeof kUtf8));
        char narrow[sizeof kUtf8];
        ASSERT_EQ(WideCharToMultiByte(codePage, 0, kWide, -1, narrow, sizeof narrow, nullptr, nullptr),
                  static_cast<int>(sizeof kUtf8));
        EXPECT_STREQ(narrow, kUtf8);
        EXPECT_EQ(WideCharToMultiByte(codePage, 0, kWide, 2, narrow, sizeof narrow, nullptr, nullptr), 3);
    }
}

TEST(CodePageTest, ShortBuffersAndBadArgumentsFailWithWindowsErrors) {
    wchar_t wide[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "hello", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    char narrow[4];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00FC\u00FC", -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"hello", -1, narrow, 4, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "x", 0, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "x", -1, wide, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "x", -1, nullptr, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePageTest, MalformedInputBecomesReplacementCharacters) {
    // A stray continuation byte, a truncated sequence before '(', an overlong
    // slash, an encoded surrogate and a truncated sequence at the end.
    const char bad[] =
        "a\x80"
        "b\xE2\x82("
        "\xC0\xAF"
        "\xED\xA0\x80"
        "\xF0\x9F";
    wchar_t wide[32];
    const int count = MultiByteToWideChar(CP_UTF8, 0, bad, sizeof bad - 1, wide, 32);
    EXPECT_EQ(std::wstring(wide, static_cast<size_t>(count)),
              L"a\uFFFDb\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");

    const wchar_t loneSurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
    char narrow[16];
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, loneSurrogate, -1, narrow, sizeof narrow, nullptr, nullptr), 6);
    EXPECT_EQ(std::string(narrow), std::string("a\xEF\xBF\xBD") + 'b');
    const wchar_t beyondUnicode[] = {static_cast<wchar_t>(0x110000), 0};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, beyondUnicode, -1, narrow, sizeof narrow, nullptr, nullptr), 4);
}

}  // namespace
