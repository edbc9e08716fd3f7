#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "extras_settings.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

TEST(ExtrasSettings, Values_AreReadAsSwitchesAndBoundedHolds) {
    TempDir dir;
    const std::string path = dir.File("lodestar.ini");
    struct Case {
        std::string ini;
        bool fix, access;
        int hold;
        std::string gpx;
    } cases[] = {
        {"", false, false, 10, ""},
        {"[notify]\r\nfix=1\r\naccess=1\r\nhold_seconds=4\r\n", true, true, 4, ""},
        {"[notify]\r\nfix=0\r\naccess=yes\r\n", false, false, 10, ""},
        {"[notify]\r\nfix=-1\r\nhold_seconds=0\r\n", true, false, 10, ""},
        {"[notify]\r\nhold_seconds=-3\r\n", false, false, 10, ""},
        {"[notify]\r\nhold_seconds=soon\r\n", false, false, 10, ""},
        {"[notify]\r\nhold_seconds=99999\r\n", false, false, 3600, ""},
        {"[log]\r\ngpx=tracks\r\n", false, false, 10, dir.File("tracks")},
        {"[log]\r\ngpx=tracks/2024/\r\n", false, false, 10, dir.File("tracks/2024")},
        {"[log]\r\ngpx=/var/tracks/\r\n", false, false, 10, "/var/tracks"},
        {"[log]\r\ngpx=C:\\Tracks\\\r\n", false, false, 10, "C:\\Tracks"},
        {"[log]\r\ngpx=C:\\\r\n", false, false, 10, "C:\\"},
        {"[log]\r\ngpx=\\\\server\\share\r\n", false, false, 10, "\\\\server\\share"},
    };
    for (const Case& c : cases) {
        WriteFile(path, c.ini);
        const ExtrasSettings settings = ReadExtrasSettings(Wide(path));
        EXPECT_EQ(settings.fixBalloons, c.fix) << c.ini;
        EXPECT_EQ(settings.accessBalloon, c.access) << c.ini;
        EXPECT_EQ(settings.holdSeconds, c.hold) << c.ini;
        EXPECT_EQ(settings.gpxFolder, Wide(c.gpx)) << c.ini;
    }
}

}  // namespace
