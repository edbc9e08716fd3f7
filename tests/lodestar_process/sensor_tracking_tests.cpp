#include <gtest/gtest.h>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kTrackedId = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";
const std::string kOtherId = "{8C3F1B52-0D4E-4A7B-9C21-5E6F7A8B9C0D}";
const std::string kFiveLineTip =
    "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY\nlatitude:35.681236\nlongitude:139.767125\n"
    "satellites 7/11";

std::string Sensor(int number, const std::string& id, const std::string& body) {
    return "[sensor" + std::to_string(number) + "]\nid = " + id + "\n" + body;
}

const std::string kAcquiring = Sensor(1, kTrackedId, "name = Test GPS\nstate = 3\n");
const std::string kFix = Sensor(1, kTrackedId,
                                "name = Test GPS\nstate = 0\nlatitude = 35.681236\nlongitude = 139.767125\n"
                                "satellites_used = 7\nsatellites_in_view = 11\n");

void ExitAndWait(ChildProcess& lodestar) {
    lodestar.WriteLine("command 32772");
    EXPECT_TRUE(lodestar.WaitForLine("tray delete 128"));
    EXPECT_EQ(lodestar.WaitForExit(), 0);
}

TEST(LodestarTracking, ExampleReceiverWithFix_ShowsReadyIconAndFiveLineTooltip) {
    LodestarSession session(ReadFile(EXAMPLES_DIR "/gps_fix.ini"));
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), "tray add 128 icon=app tip=Detecting Senser...");
    const auto line = lodestar->ReadLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->rfind("tray modify 128 icon=builtin:130 tip=Sensor name : ", 0), 0u) << *line;
    EXPECT_NE(line->find("\\nSensor status : SENSOR_STATE_READY\\nlatitude:35.681236\\nlongitude:139.767125"
                         "\\nsatellites 7/11"),
              std::string::npos)
        << *line;
    ExitAndWait(*lodestar);
}

TEST(LodestarTracking, LiveScenarioEdits_DriveTheTrayAndEndInTheCatalog) {
    LodestarSession session(kAcquiring);
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), "tray add 128 icon=app tip=Detecting Senser...");
    EXPECT_EQ(lodestar->ReadLine(),
              TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING"));

    session.EditScenario(kFix);
    EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "builtin:130", kFiveLineTip)));

    // The receiver is unplugged: no smile and no stale position for it.
    session.EditScenario(kFix + "present = no\n" + Sensor(2, kOtherId, "name = Other GPS\nstate = 0\n"));
    EXPECT_TRUE(lodestar->WaitForLine(
        TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_NOT_AVAILABLE")));
    // It comes back still initialising: shown at once.
    session.EditScenario(kAcquiring + Sensor(2, kOtherId, "name = Other GPS\nstate = 0\n"));
    EXPECT_TRUE(lodestar->WaitForLine(
        TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING")));

    ExitAndWait(*lodestar);
    const std::string settings = ReadFile(session.SettingsFile());
    EXPECT_NE(settings.find("=" + kTrackedId + "\t\t;Test GPS\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("=" + kOtherId + "\t\t;Other GPS\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("location_sensor_list1="), std::string::npos) << settings;
    EXPECT_NE(settings.find("location_sensor_list2="), std::string::npos) << settings;
    EXPECT_EQ(settings.find("location_sensor_list3="), std::string::npos) << settings;
}

TEST(LodestarTracking, LongName_CutsTheTooltipAt127CharactersBetweenLines) {
    const std::string name(100, 'N');
    LodestarSession session(Sensor(1, kTrackedId,
                                   "name = " + name + "\nlatitude = 35.0\nlongitude = 139.0\n"
                                   "satellites_used = 7\nsatellites_in_view = 11\n"));
    auto lodestar = session.Start();
    lodestar->ReadLine();
    // Only whole lines: the status line no longer fits.
    EXPECT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:130", "Sensor name : " + name));
    ExitAndWait(*lodestar);
}

TEST(LodestarTracking, UntrackedSensorAndEmptyName_TouchOnlyWhatTheyShould) {
    LodestarSession session(Sensor(1, kOtherId, "name = Other\n") + Sensor(2, kTrackedId, "state = 9\n"));
    auto lodestar = session.Start();
    lodestar->ReadLine();
    // Only the tracked sensor reaches the tray; it has no name.
    EXPECT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:129", "Sensor not found!"));
    EXPECT_EQ(lodestar->ReadLine(300ms), std::nullopt);
    ExitAndWait(*lodestar);
    const std::string settings = ReadFile(session.SettingsFile());
    EXPECT_NE(settings.find("=" + kOtherId + "\t\t;Other\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("=" + kTrackedId + "\t\t;\r\n"), std::string::npos) << settings;
}

TEST(LodestarTracking, ConfiguredIcons_FileIconWhenThereIsOneBuiltInOtherwise) {
    LodestarSession session(kAcquiring);
    const std::string iconFile = ICONS_DIR "/ready.ico";
    WriteFile(session.dir.File("not_an_icon.txt"), "plain text");
    WriteFile(session.SettingsFile(), "[icon]\r\nenable_icon=" + iconFile + "\r\nenable_icon_idx=0\r\n"
                                      "disable_icon=" + session.dir.File("not_an_icon.txt") + "\r\n");
    auto lodestar = session.Start();
    lodestar->ReadLine();
    EXPECT_EQ(lodestar->ReadLine(),
              TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING"));

    session.EditScenario(kFix);
    EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", "file:" + iconFile + ",0", kFiveLineTip)));
    session.EditScenario(kAcquiring);
    EXPECT_TRUE(lodestar->WaitForLine(
        TrayLine("modify", "builtin:129", "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING")));
    ExitAndWait(*lodestar);
}

// Each state takes its own file and index, and both indices are written
// back as they were.
TEST(LodestarTracking, ConfiguredIconIndices_EachStateUsesItsOwn) {
    const std::string ready = ICONS_DIR "/ready.ico";
    const std::string notReady = ICONS_DIR "/not_ready.ico";
    struct Case {
        int enableIndex, disableIndex;
        std::string readyIcon, notReadyIcon;
    } cases[] = {{0, 5, "file:" + ready + ",0", "builtin:129"}, {5, 0, "builtin:130", "file:" + notReady + ",0"}};
    for (const Case& c : cases) {
        LodestarSession session(kAcquiring);
        WriteFile(session.SettingsFile(), "[icon]\r\nenable_icon=" + ready + "\r\nenable_icon_idx=" +
                                              std::to_string(c.enableIndex) + "\r\ndisable_icon=" + notReady +
                                              "\r\ndisable_icon_idx=" + std::to_string(c.disableIndex) + "\r\n");
        auto lodestar = session.Start();
        lodestar->ReadLine();
        EXPECT_EQ(lodestar->ReadLine(), TrayLine("modify", c.notReadyIcon,
                                                 "Sensor name : Test GPS\nSensor status : SENSOR_STATE_INITIALIZING"));
        session.EditScenario(kFix);
        EXPECT_TRUE(lodestar->WaitForLine(TrayLine("modify", c.readyIcon, kFiveLineTip))) << c.readyIcon;
        ExitAndWait(*lodestar);
        const std::string settings = ReadFile(session.SettingsFile());
        EXPECT_NE(settings.find("enable_icon_idx=" + std::to_string(c.enableIndex) + "\r\n"), std::string::npos);
        EXPECT_NE(settings.find("disable_icon_idx=" + std::to_string(c.disableIndex) + "\r\n"), std::string::npos);
    }
}

TEST(LodestarTracking, SensorWhoseIdCannotBeRead_IsSkippedAndExitIsClean) {
    // The sensor keeps the sink it was given while it could not be tracked;
    // the program must still end without touching freed memory.
    LodestarSession session(Sensor(1, kTrackedId, "name = Test GPS\nfail = id\n"));
    auto lodestar = session.Start();
    lodestar->ReadLine();
    EXPECT_EQ(lodestar->ReadLine(300ms), std::nullopt);
    ExitAndWait(*lodestar);
    EXPECT_EQ(ReadFile(session.SettingsFile()).find("location_sensor_list"), std::string::npos);
}

}  // namespace
