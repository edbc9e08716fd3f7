#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "child_process.h"
#include "desktop/desktop_console.h"
#include "sensor_dlg.h"
#include "test_app.h"

namespace {

const GUID kFirstId = {0x637d3e4b, 0x20da, 0x4318, {0xb6, 0xfc, 0xa1, 0x00, 0xfd, 0x00, 0x3a, 0x83}};
const GUID kSecondId = {0x0a0b0c0d, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x44}};

// The settings file lives beside the test executable, named after the
// application; each test uses a name of its own.
std::string SettingsPath(const char* appName) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / (std::string(appName) + ".ini"))
        .string();
}

// Whether the dialog tracks the sensor: a status of it reaches the tray.
bool Tracks(CSensorDlg& dialog, const GUID& id) {
    desktop::ResetForTests();
    dialog.SetTrayEntry(true);
    dialog.OnSensorStatus(id, {"Probe", 3, 0, 0, 0, 0, {}});
    const bool shown = desktop::TrayEntries().at(0).tip != "Detecting Senser...";
    dialog.SetTrayEntry(false);
    return shown;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::SetEventOutput(&events); }
    void UseFile(const char* appName, const std::string& content = {}) {
        app = std::make_unique<TestApp>(appName);
        path = SettingsPath(appName);
        std::remove(path.c_str());
        if (!content.empty()) WriteFile(path, content);
    }
    void TearDown() override {
        desktop::SetEventOutput(nullptr);
        if (!path.empty()) std::remove(path.c_str());
    }

    std::ostringstream events;

    std::unique_ptr<TestApp> app;
    std::string path;
};

TEST_F(SettingsTest, FirstRun_WritesBothSectionsWithDefaultsAndOneLinePerSensor) {
    UseFile("settings_first_run");
    {
        CSensorDlg dialog;
        EXPECT_TRUE(Tracks(dialog, kFirstId));
        dialog.OnSensorStatus(kFirstId, {"GPS One", 3, 0, 0, 0, 0, {}});
        EXPECT_EQ(dialog.SaveSettings(), 0u);
    }
    EXPECT_EQ(ReadFile(path),
              "[icon]\r\nenable_icon=\r\nenable_icon_idx=0\r\ndisable_icon=\r\ndisable_icon_idx=0\r\n"
              "[hardware]\r\nsensor_id={637d3e4b-20da-4318-b6fc-a100fd003a83}\r\n"
              "location_sensor_list1={637D3E4B-20DA-4318-B6FC-A100FD003A83}\t\t;GPS One\r\n");
}

TEST_F(SettingsTest, SavedRun_KeepsUserTextAndOlderCatalogLines) {
    UseFile("settings_kept",
            "; my receivers\n[icon]\nenable_icon = C:\\icons\\green.ico\nenable_icon_idx = 2\n\n"
            "[hardware]\nsensor_id = {0a0b0c0d-1111-2222-3333-444444444444}\n"
            "location_sensor_list1 = old one\nlocation_sensor_list3 = very old\n");
    {
        CSensorDlg dialog;
        EXPECT_TRUE(Tracks(dialog, kSecondId));
        EXPECT_FALSE(Tracks(dialog, kFirstId));
        dialog.OnSensorStatus(kFirstId, {"GPS One", 0, 0, 0, 0, 0, {}});
        dialog.OnSensorStatus(kSecondId, {"GPS Two", 0, 0, 0, 0, 0, {}});
        dialog.OnSensorStatus(kFirstId, {"GPS One renamed", 0, 0, 0, 0, 0, {}});
        dialog.SaveSettings();
    }
    const std::string text = ReadFile(path);
    EXPECT_EQ(text.rfind("; my receivers\n[icon]\n", 0), 0u) << text;
    // Values written back unchanged keep the user's lines as they were.
    EXPECT_NE(text.find("enable_icon = C:\\icons\\green.ico\n"), std::string::npos) << text;
    EXPECT_NE(text.find("enable_icon_idx = 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("disable_icon=\r\n"), std::string::npos) << text;
    // Typed in lower case, written back as typed; catalog ids in upper case.
    EXPECT_NE(text.find("sensor_id = {0a0b0c0d-1111-2222-3333-444444444444}\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t\t;GPS Two"), std::string::npos) << text;
    EXPECT_NE(text.find("{637D3E4B-20DA-4318-B6FC-A100FD003A83}\t\t;GPS One renamed"), std::string::npos) << text;
    EXPECT_NE(text.find("location_sensor_list2="), std::string::npos) << text;
    EXPECT_NE(text.find("location_sensor_list3 = very old"), std::string::npos) << text;
    EXPECT_EQ(text.find("old one"), std::string::npos) << text;
}

TEST_F(SettingsTest, SensorIdThatIsNoGuid_MatchesNoSensor) {
    UseFile("settings_bad_id", "[hardware]\r\nsensor_id=receiver one\r\n");
    CSensorDlg dialog;
    EXPECT_FALSE(Tracks(dialog, kFirstId));
    dialog.SaveSettings();
    EXPECT_NE(ReadFile(path).find("sensor_id=receiver one\r\n"), std::string::npos);
}

// Values may be 519 bytes long; a longer one is cut there, also when saved.
TEST_F(SettingsTest, IconFileValues_Keep519BytesAndLoseTheRest) {
    const std::string longest(519, 'a');
    const std::string tooLong(520, 'b');
    UseFile("settings_long_values", "[icon]\r\nenable_icon=" + longest + "\r\ndisable_icon=" + tooLong + "\r\n");
    CSensorDlg dialog;
    dialog.SaveSettings();
    const std::string text = ReadFile(path);
    EXPECT_NE(text.find("enable_icon=" + longest + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("disable_icon=" + std::string(519, 'b') + "\r\n"), std::string::npos) << text;
}

// A settings file that is a symbolic link stays one: the file it names is
// saved, and created where it does not exist yet.
TEST_F(SettingsTest, SettingsFileThatIsALink_StaysALinkToTheSavedFile) {
    for (const bool targetExists : {true, false}) {
        UseFile(targetExists ? "settings_link" : "settings_dangling_link");
        TempDir elsewhere;
        const std::string target = elsewhere.File("real.ini");
        if (targetExists) WriteFile(target, "; mine\r\n");
        std::filesystem::create_symlink(target, path);
        {
            CSensorDlg dialog;
            dialog.OnSensorStatus(kFirstId, {"GPS One", 0, 0, 0, 0, 0, {}});
            dialog.SaveSettings();
        }
        EXPECT_TRUE(std::filesystem::is_symlink(path)) << targetExists;
        const std::string text = ReadFile(target);
        EXPECT_EQ(text.rfind(targetExists ? "; mine\r\n[icon]" : "[icon]", 0), 0u) << text;
        EXPECT_NE(text.find("\t\t;GPS One\r\n"), std::string::npos) << text;
    }
}

// A sensor name is written into the catalog line with its control characters
// as "?", so no name can add a line, a key or a section to the file. The
// names go through two runs, as a receiver that stays plugged in does.
TEST_F(SettingsTest, SensorNamesWithControlCharacters_StayOnTheirCatalogLine) {
    const struct {
        const char* name;
        const char* written;
    } cases[] = {
        {"/dev/x\n[icon]\nenable_icon=/tmp/evil.ico\nenable_icon_idx=0", "/dev/x?[icon]?enable_icon=/tmp/evil.ico?enable_icon_idx=0"},
        {"cr\rhere", "cr?here"},
        {"crlf\r\n[hardware]\r\nsensor_id={00000001-0000-0000-0000-000000000000}",
         "crlf??[hardware]??sensor_id={00000001-0000-0000-0000-000000000000}"},
        {"\x1b[31mred\x07", "?[31mred?"},
        {"next line \xC2\x85 csi \xC2\x9B" "2J del \x7F", "next line ? csi ?2J del ?"},
        {"tab\there", "tab?here"},
        {"[", "["},
        {"a=b", "a=b"},
        {"\xE2\x82\xAC \xC3\xA9", "\xE2\x82\xAC \xC3\xA9"},
    };
    const std::string userSettings =
        "[hardware]\r\nsensor_id={0a0b0c0d-1111-2222-3333-444444444444}\r\n"
        "[icon]\r\nenable_icon=/home/me/ready.ico\r\nenable_icon_idx=2\r\n";
    UseFile("settings_control_names", userSettings);
    std::string expectedCatalog;
    for (int run = 1; run <= 2; ++run) {
        TraySettings settings;
        settings.Load();
        EXPECT_EQ(std::string(settings.IconFile(true)), "/home/me/ready.ico") << run;
        EXPECT_EQ(settings.IconIndex(true), 2) << run;
        EXPECT_TRUE(IsEqualGUID(settings.TrackedSensorId(), kSecondId)) << run;
        expectedCatalog.clear();
        unsigned number = 0;
        for (const auto& sensor : cases) {
            const GUID id = {++number, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
            settings.RecordSensor(id, sensor.name);
            EXPECT_EQ(std::string(settings.CatalogName(id)), sensor.name);
            char line[80];
            std::snprintf(line, sizeof line, "location_sensor_list%u={%08X-0000-0000-0000-000000000000}\t\t;", number,
                          number);
            expectedCatalog += line + std::string(sensor.written) + "\r\n";
        }
        settings.Save();
    }
    const std::string text = ReadFile(path);
    EXPECT_EQ(text, "[hardware]\r\nsensor_id={0a0b0c0d-1111-2222-3333-444444444444}\r\n" + expectedCatalog +
                        "[icon]\r\nenable_icon=/home/me/ready.ico\r\nenable_icon_idx=2\r\n"
                        "disable_icon=\r\ndisable_icon_idx=0\r\n");
}

}  // namespace
