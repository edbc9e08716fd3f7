#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.h"
#include "gpx_file.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

const std::string kPoint = "   <trkpt lat=\"1.000000\" lon=\"2.000000\"><time>2024-01-01T00:00:00Z</time></trkpt>\n";
const std::string kTrack = " <trk>\n  <name>GPS</name>\n  <trkseg>\n" + kPoint + kGpxTail;

// What the day's file holds before a run and after it appends one point.
TEST(GpxFile, FileFoundAtTheStart_GetsATrackOrIsLeftAlone) {
    const std::string foreign = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"x\"><wpt lat=\"1\" lon=\"1\"/></gpx>";
    struct Case {
        const char* what;
        std::optional<std::string> before;
        std::string after;
        std::optional<LogFault::Reason> fault;
    } cases[] = {
        {"no file", std::nullopt, GpxHeader() + kTrack, std::nullopt},
        {"an empty file", "", GpxHeader() + kTrack, std::nullopt},
        {"another program's, blank after the end", foreign + "\r\n\r\n",
         foreign.substr(0, foreign.size() - 6) + kTrack, std::nullopt},
        {"cut short", foreign.substr(0, 60), foreign.substr(0, 60), LogFault::NotAGpxFile},
        {"more after the end", foreign + "<!-- -->", foreign + "<!-- -->", LogFault::NotAGpxFile},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.File("day.gpx");
        if (c.before) WriteFile(path, *c.before);
        GpxFile file;
        const auto fault = file.Append(Wide(dir.Path()), L"day.gpx", kPoint, true, "GPS");
        EXPECT_EQ(fault ? std::optional(fault->reason) : std::nullopt, c.fault) << c.what;
        file.Close();
        EXPECT_EQ(ReadFile(path), c.after) << c.what;
        EXPECT_FALSE(std::filesystem::exists(path + ".new")) << c.what;
    }
}

// Segments within a file; at a new day's name the next file begins with a
// track of its own, and the first stays complete.
TEST(GpxFile, NewSegmentAndNewDay_KeepEveryFileComplete) {
    TempDir dir;
    GpxFile file;
    const std::wstring folder = Wide(dir.File("tracks"));
    const std::string second = "   <trkpt lat=\"3.000000\" lon=\"4.000000\"><time>2024-01-01T23:59:59Z</time></trkpt>\n";
    EXPECT_FALSE(file.Append(folder, L"one.gpx", kPoint, true, "GPS"));
    EXPECT_FALSE(file.Append(folder, L"one.gpx", second, false, "GPS"));
    EXPECT_FALSE(file.Append(folder, L"one.gpx", kPoint, true, "GPS"));
    EXPECT_FALSE(file.Append(folder, L"two.gpx", second, false, "GPS"));
    EXPECT_EQ(ReadFile(dir.File("tracks/one.gpx")), GpxHeader() + " <trk>\n  <name>GPS</name>\n  <trkseg>\n" + kPoint +
                                                        second + GpxSegmentBreak() + kPoint + kGpxTail);
    EXPECT_EQ(ReadFile(dir.File("tracks/two.gpx")),
              GpxHeader() + " <trk>\n  <name>GPS</name>\n  <trkseg>\n" + second + kGpxTail);
}

}  // namespace
