#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const GUID kSample = {0x637d3e4b, 0x20da, 0x4318, {0xb6, 0xfc, 0xa1, 0x00, 0xfd, 0x00, 0x3a, 0x83}};

TEST(GuidTextTest, WritesBraceEnclosedUpperCaseAndReadsItBack) {
    LPOLESTR text = nullptr;
    ASSERT_EQ(StringFromCLSID(kSample, &text), S_OK);
    EXPECT_EQ(std::wstring(text), L"{637D3E4B-20DA-4318-B6FC-A100FD003A83}");

    CLSID parsed{};
    EXPECT_EQ(CLSIDFromString(text, &parsed), S_OK);
    EXPECT_EQ(parsed, kSample);
    CoTaskMemFree(text);

    IID iid{};
    EXPECT_EQ(IIDFromString(L"{637d3e4b-20da-4318-b6fc-a100fd003a83}", &iid), S_OK);
    EXPECT_EQ(iid, kSample);

    wchar_t buffer[39];
    EXPECT_EQ(StringFromGUID2(kSample, buffer, 38), 0);
    EXPECT_EQ(StringFromGUID2(kSample, buffer, 39), 39);
    EXPECT_EQ(std::wstring(buffer), L"{637D3E4B-20DA-4318-B6FC-A100FD003A83}");
}

TEST(GuidTextTest, AnythingButTheBraceFormIsRejected) {
    for (const wchar_t* text :
         {L"", L"637D3E4B-20DA-4318-B6FC-A100FD003A83", L"{637D3E4B-20DA-4318-B6FC-A100FD003A8}",
          L"{637D3E4B-20DA-4318-B6FC-A100FD003A83}x", L"{637D3E4B-20DA-4318-B6FC-A100FD003A8G}",
          L"{637D3E4B_20DA-4318-B6FC-A100FD003A83}", L"{637D3E4B-20DA-4318-B6FCA-100FD003A83}"}) {
        CLSID clsid = kSample;
        EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << text;
    }
}

}  // namespace
