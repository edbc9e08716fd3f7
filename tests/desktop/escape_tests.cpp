#include "desktop/desktop_output.h"

#include <gtest/gtest.h>

using desktop::EscapeText;

TEST(EscapeText, BackslashLineFeedAndTab_UseTheirShortForms) {
    EXPECT_EQ(EscapeText("a\\b\nc\td"), "a\\\\b\\nc\\td");
}

TEST(EscapeText, OtherControlBytes_AreWrittenInHex) {
    EXPECT_EQ(EscapeText(std::string("\r\x01\x1f\x7f", 4)), "\\x0D\\x01\\x1F\\x7F");
    EXPECT_EQ(EscapeText(std::string("a\0b", 3)), "a\\x00b");
}

TEST(EscapeText, PrintableAndNonAsciiBytes_StayAsTheyAre) {
    EXPECT_EQ(EscapeText("Sensor name : GPS \xE2\x80\x94 %f ~"), "Sensor name : GPS \xE2\x80\x94 %f ~");
}
