#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_directory.h"

namespace {

class ProfileReadTest : public ::testing::Test {
protected:
    std::string Get(const char* section, const char* key, const char* defaultValue = "default") {
        char buffer[200];
        const DWORD length =
            GetPrivateProfileStringA(section, key, defaultValue, buffer, sizeof buffer, file.c_str());
        EXPECT_EQ(length, std::strlen(buffer));
        return buffer;
    }

    TempDirectory directory;
    std::string file = directory.File("test.ini");
};

const char kSample[] =
    "[ Section1 ]\r\n"
    "  Name1 =  val1  \r\n"
    "name2=\"val2\"\r\n"
    "name3\r\n"
    "; name5=comment\r\n"
    "name4=a\r\n"
    "[section2]\r\n";

TEST_F(ProfileReadTest, NamesIgnoreCaseAndBlanksAndQuotesAreStripped) {
    WriteBytes(file, kSample);
    EXPECT_EQ(Get("section1", "name1"), "val1");
    EXPECT_EQ(Get(" SECTION1 ", " NAME1 "), "val1");
    EXPECT_EQ(Get("section1", "name2"), "val2");
    EXPECT_EQ(Get("section1", "name3"), "default");  // a line without '=' is no key
    EXPECT_EQ(Get("section1", "; name5"), "default");
    EXPECT_EQ(Get("section2", "name1"), "default");
    EXPECT_EQ(Get("missing", "name1", "one two  "), "one two");
    EXPECT_EQ(Get("section1", "missing", nullptr), "");
}

TEST_F(ProfileReadTest, ResultIsCutToTheBufferAsOnWindows) {
    WriteBytes(file, kSample);
    char buffer[16];
    std::strcpy(buffer, "kumquat");
    EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "", buffer, 0, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "kumquat");
    EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "", buffer, 4, file.c_str()), 3u);
    EXPECT_STREQ(buffer, "val");
    EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "", buffer, 5, file.c_str()), 4u);
    EXPECT_STREQ(buffer, "val1");
    EXPECT_EQ(GetPrivateProfileStringA("section1", "name4", "", buffer, 1, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetPrivateProfileStringA("section1", "nokey", "default", buffer, 4, file.c_str()), 3u);
    EXPECT_STREQ(buffer, "def");
}

TEST_F(ProfileReadTest, NullSectionOrKeyListsNamesDoubleZeroTerminated) {
    WriteBytes(file, kSample);
    char buffer[100];
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, "name1", "default", buffer, sizeof buffer, file.c_str()),
              18u);
    EXPECT_EQ(std::string(buffer, 19), std::string("Section1\0section2\0\0", 19));
    EXPECT_EQ(GetPrivateProfileStringA("section1", nullptr, "default", buffer, sizeof buffer, file.c_str()),
              18u);
    EXPECT_EQ(std::string(buffer, 19), std::string("Name1\0name2\0name4\0\0", 19));

    EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 16, file.c_str()), 14u);
    EXPECT_EQ(std::string(buffer, 16), std::string("Section1\0secti\0\0", 16));
    EXPECT_EQ(GetPrivateProfileStringA("section1", nullptr, "", buffer, 16, file.c_str()), 14u);
    EXPECT_EQ(std::string(buffer, 16), std::string("Name1\0name2\0na\0\0", 16));

    EXPECT_EQ(GetPrivateProfileStringA("section2", nullptr, "none", buffer, sizeof buffer, file.c_str()), 4u);
    EXPECT_STREQ(buffer, "none");
}

TEST_F(ProfileReadTest, MissingFileReadsAsEmpty) {
    char buffer[10];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, file.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(Get("section1", "name1"), "default");
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "d", buffer, sizeof buffer, nullptr), 1u);
}

TEST_F(ProfileReadTest, AnyLineEndByteOrderMarkAndMissingFinalNewlineAreAccepted) {
    for (const char* text : {"[s]\rk=v\rk2=w", "[s]\nk=v\nk2=w\n", "\xEF\xBB\xBF[s]\r\nk=v\r\nk2=w\r\n",
                             "[s]\r\n\r\nk=v\n\rk2=w\r"}) {
        WriteBytes(file, text);
        EXPECT_EQ(Get("s", "k"), "v") << text;
        EXPECT_EQ(Get("s", "k2"), "w") << text;
    }
}

TEST_F(ProfileReadTest, NulEndsAValueAndBinaryGarbageIsHarmless) {
    const char withNul[] = "[s]\r\nk=ab\0cd\r\nafter=1\r\n";
    WriteBytes(file, std::string(withNul, sizeof withNul - 1));
    EXPECT_EQ(Get("s", "k"), "ab");
    EXPECT_EQ(Get("s", "after"), "1");

    std::mt19937 random(7);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    WriteBytes(file, garbage + "\n[s]\nk=v\n");
    EXPECT_EQ(Get("s", "k"), "v");
    char buffer[300];
    GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, file.c_str());
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "w", file.c_str()));
    EXPECT_EQ(Get("s", "k"), "w");
    EXPECT_EQ(ReadBytes(file).substr(0, garbage.size()), garbage);
}

// Reads are served from a parse kept while the file is unchanged; a rewrite
// that keeps the size and puts the old time back (as `cp -p` does) is still a
// change, whether it comes at once or after the parse has aged.
TEST_F(ProfileReadTest, ARewriteKeepingSizeAndTimeIsSeen) {
    for (const bool wait : {false, true}) {
        WriteBytes(file, "[s]\nk=1\n");
        if (wait) usleep(50000);
        ASSERT_EQ(Get("s", "k"), "1");
        struct stat before {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);
        WriteBytes(file, "[s]\nk=2\n");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
        EXPECT_EQ(Get("s", "k"), "2") << (wait ? "after a pause" : "at once");
    }
}

// A settings path naming anything but a regular file of a sane size reads
// as a missing file, at once.
TEST_F(ProfileReadTest, OnlyRegularFilesOfASaneSizeAreRead) {
    const std::string fifo = directory.File("fifo.ini");
    const std::string zero = directory.File("zero.ini");
    const std::string huge = directory.File("huge.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    WriteBytes(huge, "[s]\nk=v\n");
    ASSERT_EQ(truncate(huge.c_str(), (64 << 20) + 1), 0);
    for (const std::string& path : {fifo, zero, directory.path(), huge}) {
        char buffer[10];
        EXPECT_EQ(GetPrivateProfileStringA("s", "k", "none", buffer, sizeof buffer, path.c_str()), 4u) << path;
        EXPECT_EQ(GetPrivateProfileIntA("s", "k", 7, path.c_str()), 7u) << path;
    }
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "w", huge.c_str()));
    EXPECT_EQ(std::filesystem::file_size(huge), (64u << 20) + 1);
}

struct IntCase {
    const char* value;
    UINT expected;
};

TEST_F(ProfileReadTest, IntegersParseLikeWindows) {
    const IntCase cases[] = {{"1", 1},          {"+1", 1},         {"-1", 4294967295u},
                             {"4294967296", 0}, {"4294967297", 1}, {"-4294967297", 4294967295u},
                             {"42A", 42},       {"abc", 0},        {"\"  7\"", 7},
                             {"0x1F", 31},      {"0X1F", 0},       {"0b101", 5},
                             {"007", 7}};
    for (const IntCase& c : cases) {
        ASSERT_TRUE(WritePrivateProfileStringA("s", "k", c.value, file.c_str()));
        EXPECT_EQ(GetPrivateProfileIntA("s", "k", 99, file.c_str()), c.expected) << c.value;
    }
    ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "", file.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", 99, file.c_str()), 99u);
    EXPECT_EQ(GetPrivateProfileIntA("s", "missing", -1, file.c_str()), 4294967295u);
}

}  // namespace
