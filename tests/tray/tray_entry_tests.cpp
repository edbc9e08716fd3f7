#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "child_process.h"
#include "desktop/desktop_console.h"
#include "sensor_dlg.h"
#include "test_app.h"

namespace {

const GUID kTrackedId = {0x637d3e4b, 0x20da, 0x4318, {0xb6, 0xfc, 0xa1, 0x00, 0xfd, 0x00, 0x3a, 0x83}};
const GUID kOtherId = {0x0a0b0c0d, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44}};

class TrayEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::ResetForTests();
        desktop::SetEventOutput(&events);
        settingsPath =
            (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tray_entry_tests.ini").string();
        WriteFile(settingsPath, "[icon]\r\nenable_icon=" ICONS_DIR "/ready.ico\r\n"
                                "disable_icon=" ICONS_DIR "/not_ready.ico\r\n");
    }
    void TearDown() override {
        desktop::SetTrayFailure(0);
        desktop::SetEventOutput(nullptr);
        std::remove(settingsPath.c_str());
    }
    HICON TrayIcon() { return desktop::TrayEntries().at(0).icon; }

    std::ostringstream events;
    std::string settingsPath;
    TestApp app{"tray_entry_tests"};
};

TEST_F(TrayEntryTest, StatusUpdates_DestroyTheIconTheyReplace) {
    CSensorDlg dialog;
    dialog.SetTrayEntry(true);

    dialog.OnSensorStatus(kTrackedId, {"G", 0, 35.0, 139.0, 7, 11, {}});
    const HICON ready = TrayIcon();
    EXPECT_EQ(desktop::IconName(ready), "file:" ICONS_DIR "/ready.ico,0");

    dialog.OnSensorStatus(kTrackedId, {"G", 3, 0, 0, 0, 0, {}});
    const HICON notReady = TrayIcon();
    EXPECT_EQ(desktop::IconName(notReady), "file:" ICONS_DIR "/not_ready.ico,0");
    EXPECT_FALSE(desktop::IconIsAlive(ready));
    EXPECT_TRUE(desktop::IconIsAlive(notReady));
}

// Built-in faces are loaded once and shared: every status change shows the same, still living, icon.
TEST_F(TrayEntryTest, BuiltinIcons_AreLoadedOnceAndKeptForTheRun) {
    WriteFile(settingsPath, "[icon]\r\nenable_icon=\r\ndisable_icon=\r\n");
    CSensorDlg dialog;
    dialog.SetTrayEntry(true);

    dialog.OnSensorStatus(kTrackedId, {"G", 0, 35.0, 139.0, 7, 11, {}});
    const HICON ready = TrayIcon();
    dialog.OnSensorStatus(kTrackedId, {"G", 3, 0, 0, 0, 0, {}});
    const HICON notReady = TrayIcon();
    dialog.OnSensorStatus(kTrackedId, {"G", 0, 35.0, 139.0, 7, 11, {}});
    dialog.OnSensorStatus(kTrackedId, {"G", 3, 0, 0, 0, 0, {}});

    EXPECT_EQ(desktop::IconName(ready), "builtin:130");
    EXPECT_EQ(desktop::IconName(notReady), "builtin:129");
    EXPECT_EQ(TrayIcon(), notReady);
    dialog.OnSensorStatus(kTrackedId, {"G", 0, 35.0, 139.0, 7, 11, {}});
    EXPECT_EQ(TrayIcon(), ready);
    EXPECT_TRUE(desktop::IconIsAlive(notReady));
}

TEST_F(TrayEntryTest, UntrackedSensor_UpdatesOnlyTheCatalog) {
    CSensorDlg dialog;
    dialog.SetTrayEntry(true);
    dialog.OnSensorStatus(kOtherId, {"Other", 0, 35.0, 139.0, 7, 11, {}});
    // Alike but for the last bytes is another sensor too.
    GUID nearlyTracked = kTrackedId;
    nearlyTracked.Data4[7] ^= 1;
    dialog.OnSensorStatus(nearlyTracked, {"Twin", 0, 35.0, 139.0, 7, 11, {}});
    EXPECT_EQ(desktop::TrayEntries().at(0).tip, "Detecting Senser...");
    dialog.SaveSettings();
    const std::string saved = ReadFile(settingsPath);
    EXPECT_NE(saved.find("location_sensor_list1={0A0B0C0D-1111-2222-3333-444444444444}\t\t;Other\r\n"
                         "location_sensor_list2={637D3E4B-20DA-4318-B6FC-A100FD003A82}\t\t;Twin\r\n"),
              std::string::npos)
        << saved;
}

TEST_F(TrayEntryTest, AddFailing_TimeoutGivesUpSilently_OtherwiseRetriesThenTellsTheUser) {
    CSensorDlg dialog;
    desktop::SetTrayFailure(ERROR_TIMEOUT);
    dialog.SetTrayEntry(true);
    EXPECT_EQ(events.str(), "");

    desktop::SetTrayFailure(ERROR_NOT_FOUND);
    const auto start = std::chrono::steady_clock::now();
    dialog.SetTrayEntry(true);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));
    EXPECT_EQ(events.str(), "message Set TaskTray err!\n");
}

// After the wait the entry is brought up to date where the shell has it, and
// added where it has not; neither bothers the user.
TEST_F(TrayEntryTest, AddFailingOnce_RetryModifiesOrAddsWithoutAMessage) {
    const std::string detecting = " icon=app tip=Detecting Senser...\n";
    CSensorDlg dialog;
    dialog.SetTrayEntry(true);
    events.str("");
    desktop::SetTrayFailure(ERROR_NOT_FOUND, 1);
    dialog.SetTrayEntry(true);
    EXPECT_EQ(events.str(), "tray modify 128" + detecting);

    dialog.SetTrayEntry(false);
    events.str("");
    desktop::SetTrayFailure(ERROR_NOT_FOUND, 2);
    dialog.SetTrayEntry(true);
    EXPECT_EQ(events.str(), "tray add 128" + detecting);
}

// A balloon is cut as the tooltip is, to the shell's 255 bytes of text:
// whole lines, else whole characters; the tooltip stays as it was.
TEST_F(TrayEntryTest, FixBalloon_IsCutToWholeLinesOrCharactersAndLeavesTheTooltip) {
    WriteFile(settingsPath, "[notify]\r\nfix=1\r\n");
    std::string accented;
    for (int i = 0; i < 150; ++i) accented += "\xC3\xA9";
    struct Case {
        std::string name, text;
    } cases[] = {
        // 254 bytes up to the longitude; the satellites line would pass 255.
        {std::string(200, 'N'),
         "Sensor name : " + std::string(200, 'N') + "\\nlatitude:35.000000\\nlongitude:139.000000"},
        // One line of 314 bytes: cut before the character that would pass 255.
        {accented, "Sensor name : " + accented.substr(0, 240)},
    };
    for (const Case& c : cases) {
        CSensorDlg dialog;
        dialog.SetTrayEntry(true);
        events.str("");
        dialog.OnSensorStatus(kTrackedId, {c.name.c_str(), 0, 35.0, 139.0, 7, 11, {}});
        const std::string out = events.str();
        const auto balloon = out.find("tray modify 128 info=Position fix\\n");
        ASSERT_NE(balloon, std::string::npos) << out;
        EXPECT_EQ(out.substr(balloon), "tray modify 128 info=Position fix\\n" + c.text + "\n");
        EXPECT_EQ(desktop::TrayEntries().at(0).tip.rfind("Sensor name : ", 0), 0u);
        dialog.SetTrayEntry(false);
    }
}

}  // namespace
