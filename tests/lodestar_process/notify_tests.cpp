// Balloons of [notify]: the fix gained and lost, and denied location access.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kTrackedId = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";
const std::string kSensor = "[sensor1]\nid = " + kTrackedId + "\nname = Test GPS\n";
const std::string kAcquiring = kSensor + "state = 3\n";
const std::string kFix = kSensor +
                         "state = 0\nlatitude = 35.681236\nlongitude = 139.767125\nerror_radius = 6.5\n"
                         "satellites_used = 7\nsatellites_in_view = 11\n";
const std::string kDenied = kSensor + "state = 4\n";
const std::map<std::string, std::string> kQuickLook{{"SENSORSIM_CHECK_MS", "20"}};

bool IsBalloon(const std::string& line) { return line.rfind("tray modify 128 info=", 0) == 0; }

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// The whole seconds of the "after N s" line of a fix balloon.
int TimeToFix(const std::string& balloon) {
    std::smatch match;
    if (!std::regex_search(balloon, match, std::regex(R"(\\nafter (\d+) s$)"))) return -1;
    return std::stoi(match[1]);
}

// Reads lines until a balloon comes; the lines before it go to `seen`.
std::optional<std::string> NextBalloon(ChildProcess& lodestar, std::chrono::milliseconds timeout,
                                       std::vector<std::string>& seen) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        auto line = lodestar.ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
        if (!line) break;
        if (IsBalloon(*line)) return line;
        seen.push_back(*line);
    }
    return std::nullopt;
}

void ExitAndWait(ChildProcess& lodestar, std::vector<std::string>& seen) {
    lodestar.WriteLine("command 32772");
    EXPECT_TRUE(lodestar.WaitForLine("tray delete 128", 5s, &seen));
    EXPECT_EQ(lodestar.WaitForExit(), 0);
}

// A receiver gains a fix, flickers for 5 s, loses it and regains it: one
// balloon for the first fix, one for the loss once it has lasted the hold,
// one for the regain no sooner than the hold after the loss's; each time to
// fix within a second of what the scenario did.
TEST(LodestarNotify, FixGainedFlickeringLostRegained_TellsEachChangeOnceAfterTheHold) {
    LodestarSession session(kAcquiring);
    WriteFile(session.SettingsFile(), "[notify]\r\nfix=1\r\nhold_seconds=2\r\n");
    const auto start = Clock::now();
    auto lodestar = session.Start(kQuickLook);
    std::vector<std::string> seen;
    ASSERT_TRUE(lodestar->WaitForLine(
        TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING")));

    std::this_thread::sleep_until(start + 1500ms);
    const double fixAt = Seconds(Clock::now() - start);
    session.EditScenario(kFix);
    const auto fix = NextBalloon(*lodestar, 3s, seen);
    ASSERT_TRUE(fix) << "no balloon for the first fix";
    EXPECT_EQ(fix->substr(0, fix->rfind("\\n")),
              "tray modify 128 info=Position fix\\nSensor name : Test GPS\\nlatitude:35.681236\\n"
              "longitude:139.767125\\nsatellites 7/11\\nerror radius 6.5 m");
    EXPECT_NEAR(TimeToFix(*fix), fixAt, 1.0) << *fix;

    // Not ready, ready, ... for 5 s, ending ready.
    for (int i = 0; i < 26; ++i) {
        std::this_thread::sleep_for(200ms);
        session.EditScenario(i % 2 ? kFix : kAcquiring);
    }
    EXPECT_EQ(NextBalloon(*lodestar, 300ms, seen), std::nullopt) << "a balloon for a flicker";

    const auto lostAt = Clock::now();
    session.EditScenario(kAcquiring);
    const auto lost = NextBalloon(*lodestar, 5s, seen);
    const auto lostShown = Clock::now();
    ASSERT_TRUE(lost) << "no balloon for the loss";
    EXPECT_EQ(*lost, "tray modify 128 info=Position lost\\nSensor name : Test GPS\\n"
                     "Sensor status : SENSOR_STATE_INITIALIZING");
    EXPECT_GE(Seconds(lostShown - lostAt), 1.9) << "told before the hold";

    std::this_thread::sleep_until(lostAt + 3s);
    session.EditScenario(kFix);
    const auto regained = NextBalloon(*lodestar, 4s, seen);
    ASSERT_TRUE(regained) << "no balloon for the regained fix";
    EXPECT_EQ(regained->rfind("tray modify 128 info=Position fix\\n", 0), 0u) << *regained;
    EXPECT_GE(Seconds(Clock::now() - lostShown), 1.9) << "two balloons within the hold";
    EXPECT_NEAR(TimeToFix(*regained), 3.0, 1.0) << *regained;

    EXPECT_EQ(NextBalloon(*lodestar, 500ms, seen), std::nullopt);
    ExitAndWait(*lodestar, seen);
    for (const std::string& line : seen) EXPECT_FALSE(IsBalloon(line)) << line;
}

// Access denied: one balloon however many events come; clicking it opens
// Windows' location settings, in the middle of a double-click that still
// opens the map. Clicking again finds no balloon. The keys stay in the file.
TEST(LodestarNotify, AccessDenied_OneBalloonWhoseClickOpensTheLocationSettings) {
    LodestarSession session(kDenied);
    const std::string settings = "[notify]\r\naccess=1\r\nhold_seconds=1\r\n[log]\r\ngpx=\r\n";
    WriteFile(session.SettingsFile(), settings);
    auto lodestar = session.Start(kQuickLook);
    std::vector<std::string> seen;
    ASSERT_TRUE(lodestar->WaitForLine(
        TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_ACCESS_DENIED")));
    EXPECT_EQ(NextBalloon(*lodestar, 2s, seen),
              "tray modify 128 info=Location access denied\\n"
              "Windows denies desktop programs access to your location.\\nClick here to open the location settings.");
    for (int i = 1; i <= 3; ++i) {
        std::this_thread::sleep_for(600ms);
        session.EditScenario(kDenied + "satellites_in_view = " + std::to_string(i) + "\n");
    }
    EXPECT_EQ(NextBalloon(*lodestar, 1500ms, seen), std::nullopt) << "a second balloon";

    session.EditScenario(kFix);
    ASSERT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130",
                                               "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY\n"
                                               "latitude:35.681236\nlongitude:139.767125\nsatellites 7/11")));
    lodestar->WriteLine("tray lbuttondown");
    lodestar->WriteLine("tray balloonclick");
    EXPECT_TRUE(lodestar->WaitForLine("open ms-settings:privacy-location", 5s, &seen));
    for (const char* gesture : {"tray lbuttonup", "tray lbuttondblclk", "tray lbuttonup"}) lodestar->WriteLine(gesture);
    EXPECT_TRUE(lodestar->WaitForLine("open https://www.google.com/maps?q=35.681236,139.767125", 5s, &seen));
    lodestar->WriteLine("tray balloonclick");
    while (auto line = lodestar->ReadLine(300ms)) EXPECT_NE(line->rfind("open ", 0), 0u) << *line;

    ExitAndWait(*lodestar, seen);
    for (const std::string& line : seen) EXPECT_FALSE(IsBalloon(line)) << line;
    EXPECT_EQ(ReadFile(session.SettingsFile()).rfind(settings, 0), 0u) << ReadFile(session.SettingsFile());
}

}  // namespace
