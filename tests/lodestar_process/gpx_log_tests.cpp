// The track log of [log] gpx=: GPX 1.1 files checked with xmllint against
// the schema, as a map program would read them.
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <random>
#include <regex>
#include <thread>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;
using Position = std::pair<std::string, std::string>;  // latitude, longitude as written

const std::string kTrackedId = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";
const std::map<std::string, std::string> kQuickLook{{"SENSORSIM_CHECK_MS", "20"}};

std::string Fix(double latitude, double longitude, const std::string& name = "Test GPS") {
    char values[160];
    std::snprintf(values, sizeof values,
                  "state = 0\nlatitude = %.6f\nlongitude = %.6f\naltitude = 38.5\nsatellites_used = 7\n"
                  "satellites_in_view = 11\n",
                  latitude, longitude);
    return "[sensor1]\nid = " + kTrackedId + "\nname = " + name + "\n" + values;
}

std::string Acquiring(const std::string& name = "Test GPS") {
    return "[sensor1]\nid = " + kTrackedId + "\nname = " + name + "\nstate = 3\n";
}

std::string Decimal(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// The position as a ready tooltip line shows it.
std::string Shown(double latitude, double longitude) {
    return "\\nlatitude:" + Decimal(latitude) + "\\nlongitude:" + Decimal(longitude) + "\\n";
}

// "" when the file is valid GPX 1.1, else what xmllint says.
std::string GpxProblems(const std::string& file) {
    if (std::system("command -v xmllint >/dev/null") != 0)
        return "xmllint is missing (Debian package libxml2-utils)";
    const std::string report = file + ".xmllint";
    const int status =
        std::system(("xmllint --noout --schema '" GPX_SCHEMA "' '" + file + "' >'" + report + "' 2>&1").c_str());
    const std::string said = ReadFile(report);
    std::remove(report.c_str());
    return status == 0 ? "" : said.empty() ? "xmllint failed" : said;
}

std::vector<Position> Points(const std::string& gpx) {
    std::vector<Position> points;
    const std::regex point(R"re(<trkpt lat="([^"]*)" lon="([^"]*)">)re");
    for (auto it = std::sregex_iterator(gpx.begin(), gpx.end(), point); it != std::sregex_iterator(); ++it)
        points.emplace_back((*it)[1], (*it)[2]);
    return points;
}

// The positions of the ready tooltips among `lines`, each change once.
std::vector<Position> ShownPositions(const std::vector<std::string>& lines) {
    std::vector<Position> shown;
    const std::regex ready(R"(SENSOR_STATE_READY\\nlatitude:([-0-9.]+)\\nlongitude:([-0-9.]+)\\n)");
    for (const std::string& line : lines) {
        std::smatch match;
        if (!std::regex_search(line, match, ready)) continue;
        const Position position{match[1], match[2]};
        if (shown.empty() || shown.back() != position) shown.push_back(position);
    }
    return shown;
}

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

std::string TodaysFileName() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char name[40];
    std::strftime(name, sizeof name, "lodestar-%Y-%m-%d.gpx", &utc);
    return name;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path().string());
    return files;
}

void ExitAndWait(ChildProcess& lodestar, std::vector<std::string>& lines) {
    lodestar.WriteLine("command 32772");
    EXPECT_TRUE(lodestar.WaitForLine("tray delete 128", 5s, &lines));
    EXPECT_EQ(lodestar.WaitForExit(), 0);
}

// A walk of six positions in two stretches of fix, then a second run: the
// file holds exactly the positions the tray showed, one segment a stretch,
// one track a run, the sensor's name as XML text; the second run leaves the
// first one's track as it was.
TEST(LodestarGpxLog, WalkAndSecondRun_FileValidatesAndHoldsThePositionsShown) {
    const std::string name = "Test <GPS> & \x01 \"one\"";
    const std::string shownName = "Test <GPS> & \\x01 \"one\"";
    LodestarSession session(Acquiring(name));
    WriteFile(session.SettingsFile(), "[log]\r\ngpx=tracks\r\n");
    auto lodestar = session.Start(kQuickLook);
    std::vector<std::string> lines;
    const double walk[][2] = {{35.1, 139.1}, {35.2, 139.2}, {35.3, 139.25}, {35.4, 139.3}, {-0.5, -0.75}, {-0.6, 179.9}};
    for (int i = 0; i < 6; ++i) {
        if (i == 4) {
            session.EditScenario(Acquiring(name));
            std::this_thread::sleep_for(600ms);
        }
        session.EditScenario(Fix(walk[i][0], walk[i][1], name));
        EXPECT_TRUE(lodestar->WaitForLine(
            TrayLine("modify", "builtin:130", "Sensor name : " + shownName + "\nSensor status : SENSOR_STATE_READY") +
                Shown(walk[i][0], walk[i][1]) + "satellites 7/11",
            5s, &lines));
        std::this_thread::sleep_for(1200ms);
    }
    ExitAndWait(*lodestar, lines);

    const std::vector<std::string> files = FilesIn(session.dir.File("tracks"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], session.dir.File("tracks/" + TodaysFileName()));
    const std::string first = ReadFile(files[0]);
    EXPECT_EQ(GpxProblems(files[0]), "") << first;
    const std::vector<Position> shown{{"35.100000", "139.100000"}, {"35.200000", "139.200000"},
                                      {"35.300000", "139.250000"}, {"35.400000", "139.300000"},
                                      {"-0.500000", "-0.750000"},  {"-0.600000", "179.900000"}};
    EXPECT_EQ(Points(first), shown) << first;
    EXPECT_EQ(Count(first, "<trk>"), 1u);
    EXPECT_EQ(Count(first, "<trkseg>"), 2u);
    EXPECT_NE(first.find("\n  <name>Test &lt;GPS&gt; &amp;  &quot;one&quot;</name>\n"), std::string::npos) << first;
    EXPECT_TRUE(std::regex_search(
        first, std::regex(R"(\n   <trkpt lat="35.100000" lon="139.100000"><ele>38.5</ele><time>\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ</time><sat>7</sat></trkpt>\n)")))
        << first;

    session.EditScenario(Fix(48.5, 2.25));
    lodestar = session.Start(kQuickLook);
    EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130",
                                               "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY") +
                                          Shown(48.5, 2.25) + "satellites 7/11"));
    std::this_thread::sleep_for(300ms);
    ExitAndWait(*lodestar, lines);
    const std::string second = ReadFile(files[0]);
    EXPECT_EQ(GpxProblems(files[0]), "") << second;
    const size_t keptLength = first.rfind("</gpx>");
    EXPECT_EQ(second.substr(0, keptLength), first.substr(0, keptLength));
    EXPECT_EQ(Count(second, "<trk>"), 2u);
    std::vector<Position> both = shown;
    both.push_back({"48.500000", "2.250000"});
    EXPECT_EQ(Points(second), both);
}

// 50 runs killed at random moments around their appends (the first point
// of a new track, a point of an open one): the file is valid GPX after each
// kill and holds every point shown before, but at most the last.
TEST(LodestarGpxLog, KilledWhileAppending_FileStaysValidAndLosesAtMostTheLastPoint) {
    LodestarSession session;
    WriteFile(session.SettingsFile(), "[log]\r\ngpx=tracks\r\n");
    const std::string file = session.dir.File("tracks/" + TodaysFileName());
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killAfterMs(0, 1150);
    std::vector<Position> kept;
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        const double latitude = 10.0 + run * 0.01;
        WriteFile(session.ScenarioFile(), Fix(latitude, 20.0));
        auto lodestar = session.Start(kQuickLook);
        std::vector<std::string> lines;
        ASSERT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130",
                                                   "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY") +
                                              Shown(latitude, 20.0) + "satellites 7/11"));
        const auto ready = std::chrono::steady_clock::now();
        const auto killAt = ready + std::chrono::milliseconds(killAfterMs(random));
        if (killAt > ready + 1000ms) {
            std::this_thread::sleep_until(ready + 1000ms);
            session.EditScenario(Fix(latitude, 20.5));
        }
        std::this_thread::sleep_until(killAt);
        lodestar->Kill();
        while (auto line = lodestar->ReadLine(100ms)) lines.push_back(*line);

        std::vector<Position> shown{{Decimal(latitude), "20.000000"}};
        for (const Position& position : ShownPositions(lines))
            if (position.second == "20.500000") shown.push_back(position);
        if (!std::filesystem::exists(file)) {
            EXPECT_TRUE(kept.empty() && shown.size() == 1) << "the file is gone";
            continue;
        }
        const std::string gpx = ReadFile(file);
        ASSERT_EQ(GpxProblems(file), "") << gpx;
        const std::vector<Position> points = Points(gpx);
        ASSERT_GE(points.size(), kept.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), points.begin())) << "an earlier point is lost";
        const std::vector<Position> added(points.begin() + static_cast<long>(kept.size()), points.end());
        std::vector<Position> allButLast(shown.begin(), shown.end() - 1);
        EXPECT_TRUE(added == shown || added == allButLast) << gpx;
        kept = points;
    }

    // A run that ends normally leaves the one file, complete.
    WriteFile(session.ScenarioFile(), Fix(60.0, 20.0));
    auto lodestar = session.Start(kQuickLook);
    std::vector<std::string> lines;
    EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130",
                                               "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY") +
                                          Shown(60.0, 20.0) + "satellites 7/11"));
    std::this_thread::sleep_for(200ms);
    ExitAndWait(*lodestar, lines);
    EXPECT_EQ(FilesIn(session.dir.File("tracks")), std::vector<std::string>{file});
    EXPECT_EQ(GpxProblems(file), "");
    kept.push_back({"60.000000", "20.000000"});
    EXPECT_EQ(Points(ReadFile(file)), kept);
}

// Where root would write anyway, its children lose the power to ignore
// file permissions (for this test process only).
void WithoutPermissionOverride() {
    if (geteuid() != 0) return;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        ASSERT_EQ(prctl(PR_CAPBSET_DROP, capability, 0, 0, 0), 0) << "cannot drop capability " << capability;
}

std::string GpxOfPoints(int count) {
    std::string gpx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n <trk>\n  <trkseg>\n";
    for (int i = 0; i < count; ++i)
        gpx += "   <trkpt lat=\"1.000000\" lon=\"" + Decimal(i) + "\"><time>2024-01-01T00:00:00Z</time></trkpt>\n";
    return gpx + "  </trkseg>\n </trk>\n</gpx>\n";
}

// A folder lodestar may not write in, a folder name taken by a file, a file
// that cannot grow (as on a full disk): the tray goes on as before, the
// fault is shown once, and what was there stays as it was.
TEST(LodestarGpxLog, FolderOrFileThatCannotBeWritten_TrayGoesOnAndTheFaultIsShownOnce) {
    enum Kind { ReadOnlyFolder, FileInTheWay, FileCannotGrow };
    const std::string readyTip = "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY";
    for (Kind kind : {ReadOnlyFolder, FileInTheWay, FileCannotGrow}) {
        SCOPED_TRACE(kind);
        LodestarSession session(Fix(35.1, 139.1));
        const std::string folder = session.dir.File("tracks");
        const std::string file = folder + "/" + TodaysFileName();
        WriteFile(session.SettingsFile(), "[notify]\r\nfix=1\r\nhold_seconds=1\r\n[log]\r\ngpx=" + folder + "\r\n");
        std::string fault;
        std::string before;
        std::unique_ptr<ChildProcess> lodestar;
        if (kind == ReadOnlyFolder) {
            std::filesystem::create_directory(folder);
            std::filesystem::permissions(folder, std::filesystem::perms(0555));
            WithoutPermissionOverride();
            fault = "Access is denied.\\n" + file;
            lodestar = session.Start(kQuickLook);
        } else if (kind == FileInTheWay) {
            WriteFile(folder, before = "not a folder");
            fault = "That is a file, not a folder.\\n" + folder;
            lodestar = session.Start(kQuickLook);
        } else {
            std::filesystem::create_directory(folder);
            WriteFile(file, before = GpxOfPoints(40));
            fault = "The file is too large.\\n" + file;
            // The child may not make any file larger than this one by more
            // than a few bytes: the point it appends is cut short.
            rlimit unlimited{};
            getrlimit(RLIMIT_FSIZE, &unlimited);
            rlimit limit = unlimited;
            limit.rlim_cur = before.size() + 40;
            signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
            lodestar = session.Start(kQuickLook);
            setrlimit(RLIMIT_FSIZE, &unlimited);
            signal(SIGXFSZ, SIG_DFL);
        }

        std::vector<std::string> lines;
        EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130", readyTip) + Shown(35.1, 139.1) +
                                          "satellites 7/11"));
        EXPECT_TRUE(lodestar->WaitForLine("tray modify 128 info=Track log not written\\n" + fault, 5s, &lines));
        session.EditScenario(Fix(35.2, 139.2));
        EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130", readyTip) + Shown(35.2, 139.2) +
                                              "satellites 7/11",
                                          5s, &lines));
        std::this_thread::sleep_for(1500ms);
        ExitAndWait(*lodestar, lines);
        size_t balloons = 0;
        for (const std::string& line : lines) balloons += line.rfind("tray modify 128 info=", 0) == 0;
        EXPECT_EQ(balloons, 1u) << "only the first fix besides the fault";

        if (kind == ReadOnlyFolder) {
            EXPECT_TRUE(std::filesystem::is_empty(folder));
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        } else if (kind == FileInTheWay) {
            EXPECT_EQ(ReadFile(folder), before);
        } else {
            EXPECT_EQ(ReadFile(file), before);
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{file});
        }
    }
}

}  // namespace
