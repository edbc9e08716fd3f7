#include "desktop/desktop_commands.h"
#include "desktop/desktop_output.h"
#include "desktop_fixture.h"

#include <shellapi.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using desktop::EscapeText;

TEST(EscapeText, BackslashLineFeedAndTab_UseTheirShortForms) {
    EXPECT_EQ(EscapeText("a\\b\nc\td"), "a\\\\b\\nc\\td");
}

TEST(EscapeText, OtherControlBytes_AreWrittenInHex) {
    EXPECT_EQ(EscapeText(std::string("\r\x01\x1f\x7f", 4)), "\\x0D\\x01\\x1F\\x7F");
    EXPECT_EQ(EscapeText(std::string("a\0b", 3)), "a\\x00b");
}

TEST(EscapeText, PrintableAndNonAsciiBytes_StayAsTheyAre) {
    EXPECT_EQ(EscapeText("Sensor name : GPS \xE2\x80\x94 %f ~"), "Sensor name : GPS \xE2\x80\x94 %f ~");
}

namespace {

// Text from outside (a sensor's name in a tooltip, a settings file's icon
// path, an address, typed input) in every kind of line the desktop prints:
// C0, DEL and the C1 controls are escaped, other characters stay.
class OutsideTextTest : public DesktopTest {};

bool HasRawControl(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const auto next = i + 1 < line.size() ? static_cast<unsigned char>(line[i + 1]) : 0;
        if (byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F)) return true;
    }
    return false;
}

TEST_F(OutsideTextTest, ControlCharacters_NeverReachTheOutputRaw) {
    const struct {
        std::string text;
        std::string escaped;
    } texts[] = {
        {"a\x01z\x1F", "a\\x01z\\x1F"},
        {"\x1B[2J\x1B]0;title\x07", "\\x1B[2J\\x1B]0;title\\x07"},
        {"del\x7F", "del\\x7F"},
        {"nel\xC2\x85", "nel\\xC2\\x85"},
        {"csi\xC2\x9B" "31m", "csi\\xC2\\x9B31m"},
        {"osc\xC2\x9D" "0;t\xC2\x9C\xC2\x80", "osc\\xC2\\x9D0;t\\xC2\\x9C\\xC2\\x80"},
        {"nbsp\xC2\xA0\xC2\xA9\xC3\xA9\xE2\x82\xAC\xC2", "nbsp\xC2\xA0\xC2\xA9\xC3\xA9\xE2\x82\xAC\xC2"},
    };
    TestDialog dialog;
    const HWND hwnd = dialog.Create();
    char dirPattern[] = "/tmp/desktop-outside-XXXXXX";
    const std::string dir = mkdtemp(dirPattern);
    UINT id = 0;
    for (const auto& [text, escaped] : texts) {
        events.lines.clear();
        errors.lines.clear();
        NOTIFYICONDATAA data{};
        data.cbSize = sizeof data;
        data.hWnd = hwnd;
        data.uID = ++id;
        data.uFlags = NIF_TIP | NIF_ICON;
        text.copy(data.szTip, sizeof data.szTip - 1);
        const std::string icoPath = dir + "/" + text + ".ico";
        std::ofstream(icoPath, std::ios::binary) << std::string("\0\0\1\0\1\0", 6) << std::string(16, '\0');
        data.hIcon = ExtractIconA(nullptr, icoPath.c_str(), 0);
        ASSERT_TRUE(data.hIcon) << escaped;
        Shell_NotifyIconA(NIM_ADD, &data);
        ShellExecuteA(nullptr, "open", ("https://maps.example/" + text).c_str(), nullptr, nullptr, SW_SHOW);
        MessageBoxA(nullptr, text.c_str(), "Lodestar", MB_OK);
        for (const char* verb : {"", "tray ", "key ", "command ", "choose ", "explorer ", "session "})
            desktop::ExecuteCommand(verb + text);

        const std::vector<std::string> expectedEvents = {
            "tray add " + std::to_string(id) + " icon=file:" + dir + "/" + escaped + ".ico,0 tip=" + escaped,
            "open https://maps.example/" + escaped, "message " + escaped};
        EXPECT_EQ(events.lines, expectedEvents);
        const std::vector<std::string> expectedErrors = {
            "error: unknown command: " + escaped,
            "error: tray: unknown mouse message: " + escaped,
            "error: key: expected return, space or escape, not " + escaped,
            "error: command: expected a command id from 0 to 65535, not " + escaped,
            "error: choose: expected an item id or none, not " + escaped,
            "error: explorer: expected restart, not " + escaped,
            "error: session: expected end, not " + escaped};
        EXPECT_EQ(errors.lines, expectedErrors);
        for (const auto& lines : {events.lines, errors.lines})
            for (const std::string& line : lines) EXPECT_FALSE(HasRawControl(line)) << line;
        DestroyIcon(data.hIcon);
        std::remove(icoPath.c_str());
    }
    rmdir(dir.c_str());
}

}  // namespace
