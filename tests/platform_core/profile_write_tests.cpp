#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_directory.h"

namespace {

class ProfileWriteTest : public ::testing::Test {
protected:
    BOOL Write(const char* section, const char* key, const char* value) {
        return WritePrivateProfileStringA(section, key, value, file.c_str());
    }

    TempDirectory directory;
    std::string file = directory.File("test.ini");
};

TEST_F(ProfileWriteTest, NewFileSectionsAndKeysAreWrittenInWindowsForm) {
    EXPECT_TRUE(Write("App1", "key1", "string1"));
    EXPECT_TRUE(Write("App1", "key2", "  string2"));
    EXPECT_TRUE(Write("App2", "key3", ""));
    EXPECT_TRUE(Write("app1", "key4", "string4"));
    EXPECT_EQ(ReadBytes(file),
              "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey4=string4\r\n[App2]\r\nkey3=\r\n");

    EXPECT_TRUE(Write("App1", "KEY2", nullptr));
    EXPECT_TRUE(Write("App1", "key2", nullptr));  // already gone: nothing to do
    EXPECT_EQ(ReadBytes(file), "[App1]\r\nkey1=string1\r\nkey4=string4\r\n[App2]\r\nkey3=\r\n");
    EXPECT_TRUE(Write("APP1", nullptr, "ignored"));
    EXPECT_EQ(ReadBytes(file), "[App2]\r\nkey3=\r\n");
    EXPECT_TRUE(Write("App2", "key3", nullptr));
    EXPECT_EQ(ReadBytes(file), "[App2]\r\n");
}

TEST_F(ProfileWriteTest, EditsKeepEveryOtherByteOfTheUsersFile) {
    const std::string original =
        "\xEF\xBB\xBF; settings\n"
        "[icon]\n"
        "   enable_icon   =  a.ico  \n"
        "# a line without an equals sign\n"
        "\n"
        "; about the hardware\n"
        "[ hardware ]\r"
        "sensor_id = {x}\r"
        "[other]\r\n"
        "x=1";
    WriteBytes(file, original);

    ASSERT_TRUE(Write("icon", "enable_icon", "a.ico"));  // same value: untouched
    EXPECT_EQ(ReadBytes(file), original);

    ASSERT_TRUE(Write("ICON", "ENABLE_ICON", "b.ico"));
    ASSERT_TRUE(Write("icon", "enable_icon_idx", "3"));
    ASSERT_TRUE(Write("hardware", "location_sensor_list1", "{y}\t\t;GPS"));
    ASSERT_TRUE(Write("other", "y", "2"));
    ASSERT_TRUE(Write("new", "z", "3"));
    EXPECT_EQ(ReadBytes(file),
              "\xEF\xBB\xBF; settings\n"
              "[icon]\n"
              "enable_icon=b.ico\n"
              "# a line without an equals sign\n"
              "enable_icon_idx=3\r\n"
              "\n"
              "; about the hardware\n"
              "[ hardware ]\r"
              "sensor_id = {x}\r"
              "location_sensor_list1={y}\t\t;GPS\r\n"
              "[other]\r\n"
              "x=1\r\n"
              "y=2\r\n"
              "[new]\r\n"
              "z=3\r\n");

    ASSERT_TRUE(Write("icon", nullptr, nullptr));
    EXPECT_EQ(ReadBytes(file).substr(0, 26), "\xEF\xBB\xBF; settings\n\n; about the");
}

TEST_F(ProfileWriteTest, NullSectionFailsAndDeletingFromAMissingFileLeavesItEmpty) {
    SetLastError(0);
    EXPECT_FALSE(Write(nullptr, "key", "value"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(Write("s", "k", nullptr));
    EXPECT_TRUE(Write("s", nullptr, nullptr));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", ""));
}

TEST_F(ProfileWriteTest, ReplacementKeepsPermissionsAndLeavesNoTemporaryFile) {
    WriteBytes(file, "[s]\r\nk=1\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(Write("s", "k", "2"));
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

// What a user's settings path may name. Each case writes k=2 over k=1 as an
// ordinary user, whose permissions count (root may write anywhere).
struct SettingsPathCase {
    const char* what;
    void (*prepare)(const std::string& directory, const std::string& file);
    bool written;
    const char* linkTarget;  // the path should stay a link to this file
};

const char kOld[] = "[s]\r\nk=1\r\n";
const char kNew[] = "[s]\r\nk=2\r\n";

const SettingsPathCase kSettingsPaths[] = {
    {"a read-only file",
     [](const std::string&, const std::string& file) {
         WriteBytes(file, kOld);
         chmod(file.c_str(), 0444);
     },
     false, nullptr},
    {"a writable file in a read-only directory",
     [](const std::string& directory, const std::string& file) {
         WriteBytes(file, kOld);
         chmod(directory.c_str(), 0555);
     },
     true, nullptr},
    {"a link to a file",
     [](const std::string& directory, const std::string& file) {
         WriteBytes(directory + "/real.ini", kOld);
         symlink("real.ini", file.c_str());
     },
     true, "real.ini"},
    {"a dangling link",
     [](const std::string&, const std::string& file) { symlink("real.ini", file.c_str()); }, true, "real.ini"},
    {"a FIFO", [](const std::string&, const std::string& file) { mkfifo(file.c_str(), 0666); }, false, nullptr},
    {"a directory", [](const std::string&, const std::string& file) { mkdir(file.c_str(), 0777); }, false,
     nullptr},
};

TEST(ProfileWritePaths, FilesLinksAndOtherThingsAreHonouredAsOnWindows) {
    for (const SettingsPathCase& c : kSettingsPaths) {
        TempDirectory directory;
        const std::string file = directory.File("test.ini");
        c.prepare(directory.path(), file);
        struct stat before {};
        lstat(file.c_str(), &before);

        const unsigned long error = RunAsOrdinaryUser(directory.path(), [&file] {
            SetLastError(0);
            return WritePrivateProfileStringA("s", "k", "2", file.c_str()) ? 0ul : GetLastError();
        });
        EXPECT_EQ(error, c.written ? 0ul : static_cast<unsigned long>(ERROR_ACCESS_DENIED)) << c.what;

        struct stat after {};
        ASSERT_EQ(lstat(file.c_str(), &after), 0) << c.what;
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << c.what;
        if (c.linkTarget) {
            EXPECT_EQ(std::filesystem::read_symlink(file), c.linkTarget) << c.what;
            EXPECT_EQ(ReadBytes(directory.File(c.linkTarget)), kNew) << c.what;
        } else if (S_ISREG(after.st_mode)) {
            EXPECT_EQ(ReadBytes(file), c.written ? kNew : kOld) << c.what;
        }
    }
}

}  // namespace
