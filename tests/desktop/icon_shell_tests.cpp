// Icons (loaded, extracted from files, destroyed), painting, and the
// shell's "open" and message boxes.
#include "desktop_fixture.h"

#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// A file in a fresh temporary directory, removed with it.
class TempFiles {
public:
    TempFiles() {
        char pattern[] = "/tmp/desktop-icons-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~TempFiles() {
        for (const auto& file : files_) unlink(file.c_str());
        rmdir(dir_.c_str());
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        files_.push_back(path);
        return path;
    }

private:
    std::string dir_;
    std::vector<std::string> files_;
};

std::string IcoHeader(unsigned count) {
    return std::string("\0\0\1\0", 4) + static_cast<char>(count) + '\0';
}

TEST(Icons, LoadIcon_NamesTheResource_EachCallGivesItsOwnIcon) {
    HICON app = LoadIconA(nullptr, MAKEINTRESOURCE(128));
    HICON notReady = LoadIconA(nullptr, MAKEINTRESOURCE(129));
    HICON again = LoadIconA(nullptr, MAKEINTRESOURCE(128));
    HICON named = LoadIconA(nullptr, "SENSOR");
    EXPECT_EQ(desktop::IconName(app), "app");
    EXPECT_EQ(desktop::IconName(notReady), "builtin:129");
    EXPECT_EQ(desktop::IconName(named), "builtin:SENSOR");
    EXPECT_EQ(desktop::IconName(nullptr), "none");
    EXPECT_NE(app, again);
    for (HICON icon : {app, notReady, again, named}) {
        EXPECT_TRUE(desktop::IconIsAlive(icon));
        EXPECT_TRUE(DestroyIcon(icon));
        EXPECT_FALSE(desktop::IconIsAlive(icon));
    }
    EXPECT_FALSE(DestroyIcon(nullptr));
}

TEST(Icons, ExtractIcon_TellsIconFilesOtherFilesAndMissingOnesApart) {
    TempFiles files;
    const std::string ico = files.Write("two.ico", IcoHeader(2) + std::string(32, '\0'));
    const std::string text = files.Write("notes.txt", "not an icon");
    const std::string cursor = files.Write("arrow.cur", std::string("\0\0\2\0\1\0", 6));

    // Two images are two sizes of the file's one icon.
    HICON first = ExtractIconA(nullptr, ico.c_str(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(desktop::IconName(first), "file:" + ico + ",0");
    EXPECT_EQ(ExtractIconA(nullptr, ico.c_str(), 1), nullptr);
    EXPECT_EQ(ExtractIconA(nullptr, text.c_str(), 0), reinterpret_cast<HICON>(1));
    EXPECT_EQ(ExtractIconA(nullptr, cursor.c_str(), 0), reinterpret_cast<HICON>(1));
    EXPECT_EQ(ExtractIconA(nullptr, (ico + ".missing").c_str(), 0), nullptr);
    EXPECT_EQ(ExtractIconA(nullptr, "/tmp", 0), nullptr);
    EXPECT_EQ(ExtractIconA(nullptr, ico.c_str(), static_cast<UINT>(-1)), reinterpret_cast<HICON>(1));  // count
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(1)));
    DestroyIcon(first);
}

TEST(Painting, IconDrawsCentredInTheClientAreaOfAWindow) {
    desktop::ResetForTests();
    HWND hwnd = CreateDialogParamA(nullptr, MAKEINTRESOURCE(102), nullptr,
                                   [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_GT(client.right, GetSystemMetrics(SM_CXICON));
    EXPECT_GT(client.bottom, 0);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    ASSERT_TRUE(dc);
    HICON icon = LoadIconA(nullptr, MAKEINTRESOURCE(128));
    EXPECT_TRUE(DrawIcon(dc, 0, 0, icon));
    EXPECT_FALSE(DrawIcon(dc, 0, 0, nullptr));
    EXPECT_TRUE(EndPaint(hwnd, &paint));
    DestroyIcon(icon);
    POINT cursor{};
    EXPECT_TRUE(GetCursorPos(&cursor));
    EXPECT_TRUE(SetForegroundWindow(hwnd));
    desktop::ResetForTests();
}

using ShellTest = DesktopTest;

TEST_F(ShellTest, OpenVerb_PrintsTheEscapedTargetAndSucceeds) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", "https://maps.example/maps?q=35.681236,139.767125\n", nullptr,
                                     nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, "file.txt", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_LE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "print", "file.txt", nullptr, nullptr, SW_SHOW)), 32);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"open https://maps.example/maps?q=35.681236,139.767125\\n",
                                                      "open file.txt"}));
}

TEST_F(ShellTest, MessageBox_PrintsItsTextAndReturnsOk) {
    EXPECT_EQ(MessageBoxA(nullptr, "Set TaskTray err!", "Lodestar", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(events.lines, std::vector<std::string>{"message Set TaskTray err!"});
}

}  // namespace
