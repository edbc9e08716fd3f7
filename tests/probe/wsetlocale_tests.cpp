#include <locale.h>

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>

namespace {

class WSetLocale : public ::testing::Test {
protected:
    void TearDown() override { setlocale(LC_ALL, "C"); }
};

std::string Utf8Of(wchar_t c) {
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    const std::size_t length = std::wcrtomb(bytes, c, &state);
    return length == static_cast<std::size_t>(-1) ? std::string("<unconvertible>") : std::string(bytes, length);
}

TEST_F(WSetLocale, WindowsLanguageName_FallsBackToUtf8) {
    const wchar_t* applied = _wsetlocale(LC_ALL, L"Japanese");

    ASSERT_NE(applied, nullptr);
    EXPECT_STREQ(applied, L"C.UTF-8");
    EXPECT_EQ(Utf8Of(L'\u00e9'), "\xc3\xa9");
    EXPECT_EQ(Utf8Of(L'\u6771'), "\xe6\x9d\xb1");
}

TEST_F(WSetLocale, NullName_QueriesTheCurrentLocale) {
    _wsetlocale(LC_ALL, L"Japanese");

    EXPECT_STREQ(_wsetlocale(LC_ALL, nullptr), L"C.UTF-8");
}

TEST_F(WSetLocale, NameTheCLibraryKnows_IsKeptOutsideTheCharacterSet) {
    EXPECT_STREQ(_wsetlocale(LC_NUMERIC, L"C"), L"C");
    EXPECT_STREQ(_wsetlocale(LC_NUMERIC, nullptr), L"C");
}

TEST_F(WSetLocale, NonAsciiName_FallsBackToUtf8) {
    EXPECT_STREQ(_wsetlocale(LC_CTYPE, L"Fran\u00e7ais"), L"C.UTF-8");
}

}  // namespace
