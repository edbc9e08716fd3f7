#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gpx_text.h"

namespace {

using namespace std::chrono;

TEST(GpxText, SensorText_IsEscapedAndLosesWhatXmlForbids) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"Simulated GPS Receiver", "Simulated GPS Receiver"},
        {"<a & 'b'> \"c\"", "&lt;a &amp; &apos;b&apos;&gt; &quot;c&quot;"},
        {"tab\tline\ncr\r", "tab\tline\ncr&#13;"},
        {std::string("nul\0bell\x07" "esc\x1b[31m", 17), "nulbellesc[31m"},
        // Cut sequences, overlong forms, surrogates, beyond U+10FFFF, U+FFFE.
        {"a\xC3", "a"},
        {"\xC0\xAF" "b\xED\xA0\x80" "c\xF4\x90\x80\x80" "d\xEF\xBF\xBE" "e\x80", "bcde"},
        {"\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBD", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBD"},
    };
    for (const Case& c : cases) EXPECT_EQ(XmlText(c.in, 256), c.out) << c.in;

    std::string long_name;
    for (int i = 0; i < 300; ++i) long_name += "\xC3\xA9";
    EXPECT_EQ(XmlText(long_name, 256), long_name.substr(0, 512));
}

TEST(GpxText, Points_AreWrittenOnlyWhereGpxTakesThem) {
    // 2024-02-29T23:59:59.900Z: the file and the time keep the UTC day.
    const SystemTime leapNight = sys_days{year{2024} / 2 / 29} + 23h + 59min + 59s + 900ms;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        GpxPoint point;
        std::optional<std::string> text;
    } cases[] = {
        {{35.681236, 139.767125, 38.5, leapNight, 7},
         R"(   <trkpt lat="35.681236" lon="139.767125"><ele>38.5</ele><time>2024-02-29T23:59:59Z</time><sat>7</sat></trkpt>
)"},
        {{-33.5, -70.25, std::nullopt, leapNight, 0},
         R"(   <trkpt lat="-33.500000" lon="-70.250000"><time>2024-02-29T23:59:59Z</time></trkpt>
)"},
        // GPX takes longitudes below 180 only: the 180th meridian is -180.
        {{10.0, 180.0, nan, leapNight, -2},
         R"(   <trkpt lat="10.000000" lon="-180.000000"><time>2024-02-29T23:59:59Z</time></trkpt>
)"},
        {{10.0, 179.9999996, inf, leapNight, 0},
         R"(   <trkpt lat="10.000000" lon="-180.000000"><time>2024-02-29T23:59:59Z</time></trkpt>
)"},
        {{90.0000001, 10.0, std::nullopt, leapNight, 0}, std::nullopt},
        {{10.0, -180.0000001, std::nullopt, leapNight, 0}, std::nullopt},
        {{nan, 10.0, std::nullopt, leapNight, 0}, std::nullopt},
        {{10.0, inf, std::nullopt, leapNight, 0}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(GpxPointText(c.point), c.text) << c.point.latitude << "," << c.point.longitude;
    EXPECT_EQ(GpxFileName(leapNight), "lodestar-2024-02-29.gpx");
    EXPECT_EQ(GpxFileName(leapNight + 100ms), "lodestar-2024-03-01.gpx");
}

}  // namespace
