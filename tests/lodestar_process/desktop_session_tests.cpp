// lodestar on a desktop that changes under it: the shell restarting, the
// user logging off, the terminal closing, an unusual folder.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "lodestar_session.h"

namespace {

using namespace std::chrono_literals;

const std::string kAddLine = "tray add 128 icon=app tip=Detecting Senser...";
const std::string kTrackedId = "{637D3E4B-20DA-4318-B6FC-A100FD003A83}";
const std::string kFixTip =
    "Sensor name : Test GPS\nSensor status : SENSOR_STATE_READY\nlatitude:35.681236\nlongitude:139.767125\n"
    "satellites 7/11";
const std::string kFix = "[sensor1]\nid = " + kTrackedId +
                         "\nname = Test GPS\nstate = 0\nlatitude = 35.681236\nlongitude = 139.767125\n"
                         "satellites_used = 7\nsatellites_in_view = 11\n";
const std::string kCatalogLine = "location_sensor_list1=" + kTrackedId + "\t\t;Test GPS\r\n";

TEST(LodestarDesktop, ExplorerRestart_AddsTheEntryAgainAsItWas) {
    LodestarSession session(kFix);
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    ASSERT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:130", kFixTip));

    lodestar->WriteLine("explorer restart");
    EXPECT_EQ(lodestar->ReadLine(), "tray reset");
    EXPECT_EQ(lodestar->ReadLine(), TrayLine("add", "builtin:130", kFixTip));
    // The entry is there again: Exit removes it.
    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
}

// Log-off, SIGTERM and SIGHUP end lodestar the way Exit does, settings and
// catalog saved, also when the terminal that showed its output is gone.
TEST(LodestarDesktop, SessionEnd_SavesSettingsAndCatalogBeforeTheProcessEnds) {
    struct Case {
        const char* how;
        int signalNumber;
        bool outputClosed;
    } cases[] = {{"session end", 0, false}, {"SIGTERM", SIGTERM, false}, {"SIGHUP", SIGHUP, true}};
    for (const Case& c : cases) {
        LodestarSession session(kFix);
        auto lodestar = session.Start();
        ASSERT_EQ(lodestar->ReadLine(), kAddLine) << c.how;
        ASSERT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:130", kFixTip)) << c.how;
        if (c.signalNumber) {
            if (c.outputClosed) lodestar->CloseOutput();
            lodestar->Signal(c.signalNumber);
        } else {
            lodestar->WriteLine("session end");
        }
        if (!c.outputClosed) {
            EXPECT_EQ(lodestar->ReadLine(), "tray delete 128") << c.how;
            EXPECT_EQ(lodestar->ReadLine(), "session ended") << c.how;
        }
        EXPECT_EQ(lodestar->WaitForExit(), 0) << c.how;
        const std::string settings = ReadFile(session.SettingsFile());
        EXPECT_NE(settings.find("[icon]\r\nenable_icon=\r\n"), std::string::npos) << c.how << "\n" << settings;
        EXPECT_NE(settings.find(kCatalogLine), std::string::npos) << c.how << "\n" << settings;
    }
}

TEST(LodestarDesktop, HiddenOkButton_EndsLikeExitAndRemovesTheEntry) {
    LodestarSession session;
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    lodestar->WriteLine("command 1");
    EXPECT_EQ(lodestar->ReadLine(), "tray delete 128");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_TRUE(std::filesystem::exists(session.SettingsFile()));
}

TEST(LodestarDesktop, IconIndexMinusOne_ShowsTheBuiltInIcon) {
    LodestarSession session(kFix);
    WriteFile(session.SettingsFile(), "[icon]\r\nenable_icon=" ICONS_DIR "/ready.ico\r\nenable_icon_idx=-1\r\n");
    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    EXPECT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:130", kFixTip));
    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_NE(ReadFile(session.SettingsFile()).find("enable_icon_idx=-1\r\n"), std::string::npos);
}

// A path longer than the classic 259 characters: the settings file is still
// read and written beside the program.
TEST(LodestarDesktop, ProgramInADeepFolder_KeepsItsSettingsBesideIt) {
    LodestarSession session(kFix);
    std::filesystem::path deep = session.dir.Path();
    while (deep.string().size() < 300) deep /= std::string(40, 'd');
    std::filesystem::create_directories(deep);
    std::filesystem::rename(session.program, deep / "lodestar");
    session.program = (deep / "lodestar").string();
    const std::string settingsFile = (deep / "lodestar.ini").string();
    WriteFile(settingsFile, "[hardware]\r\nsensor_id=" + kTrackedId + "\r\n");

    auto lodestar = session.Start();
    ASSERT_EQ(lodestar->ReadLine(), kAddLine);
    EXPECT_EQ(lodestar->ReadLine(), TrayLine("modify", "builtin:130", kFixTip));
    lodestar->WriteLine("command 32772");
    EXPECT_EQ(lodestar->WaitForExit(), 0);
    EXPECT_NE(ReadFile(settingsFile).find(kCatalogLine), std::string::npos);
}

}  // namespace
