#include <gtest/gtest.h>

#include "text_cut.h"

namespace {

// The native ANSI code page is UTF-8: "\xC3\xA9" is one character of two
// bytes, "\xE2\x82\xAC" one of three.
TEST(WholeCharactersLength, CutsAtTheLimitButNeverInsideACharacter) {
    const struct {
        const char* text;
        size_t maxBytes;
        size_t length;
    } cases[] = {
        {"", 4, 0},
        {"abc", 0, 0},
        {"abc", 2, 2},
        {"abc", 3, 3},
        {"abc", 9, 3},
        {"\xC3\xA9\xC3\xA9", 3, 2},
        {"\xC3\xA9\xC3\xA9", 4, 4},
        {"a\xE2\x82\xAC", 3, 1},
        {"a\xE2\x82\xAC", 4, 4},
        {"\xE2\x82\xAC", 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WholeCharactersLength(c.text, c.maxBytes), c.length) << c.text << " / " << c.maxBytes;
}

}  // namespace
