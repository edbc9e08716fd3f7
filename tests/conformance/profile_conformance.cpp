// GetPrivateProfileStringA, GetPrivateProfileIntA and
// WritePrivateProfileStringA as Windows answers them.
// The rows and their expected answers come from Wine's conformance tests,
// dlls/kernel32/tests/profile.c (Wine's tests are LGPL-2.1-or-later). Test
// data only: nothing of this file is shipped.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "conformance.h"

using conformance::Check;
using conformance::Join;

namespace {

const std::string kHere = Join(".", "");  // "./" or ".\"

// Which file a row names.
enum class File { Test, None, Empty, BareMissing, BareInWindowsDirectory };

std::string bareInWindows;  // a file name without a path, of a file in the Windows directory

const char* FileName(File file, const std::string& test) {
    switch (file) {
    case File::Test: return test.c_str();
    case File::None: return nullptr;
    case File::Empty: return "";
    case File::BareMissing: return "nonexistent";
    case File::BareInWindowsDirectory: return bareInWindows.c_str();
    }
    return nullptr;
}

struct IntRow {
    const char* section;
    const char* key;
    const char* value;  // written first unless null
    File file;
    INT defaultValue;
    UINT result;
};

// The whole value goes through RtlUnicodeStringToInteger: a sign, digits up
// to the first that is not one, arithmetic modulo 2^32.
const IntRow kIntRows[] = {
    {nullptr, nullptr, nullptr, File::None, 70, 0},  // win.ini's section names are no number
    {nullptr, nullptr, nullptr, File::Test, -1, 4294967295u},
    {nullptr, nullptr, nullptr, File::Test, 1, 1},
    {"Test", nullptr, nullptr, File::Test, -1, 4294967295u},
    {"Test", nullptr, nullptr, File::Test, 1, 1},
    {nullptr, "ProfileInt", nullptr, File::Test, -1, 4294967295u},
    {nullptr, "ProfileInt", nullptr, File::Test, 1, 1},
    {"Test", "ProfileInt", nullptr, File::Test, -1, 4294967295u},
    {"Test", "ProfileInt", nullptr, File::Test, 1, 1},
    {"Test", "ProfileInt", "-1", File::Test, -1, 4294967295u},
    {"Test", "ProfileInt", "-1", File::Test, 1, 4294967295u},
    {"Test", "ProfileInt", "1", File::Test, -1, 1},
    {"Test", "ProfileInt", "1", File::Test, 1, 1},
    {"Test", "ProfileInt", "+1", File::Test, -1, 1},
    {"Test", "ProfileInt", "+1", File::Test, 1, 1},
    {"Test", "ProfileInt", "4294967296", File::Test, -1, 0},
    {"Test", "ProfileInt", "4294967296", File::Test, 1, 0},
    {"Test", "ProfileInt", "4294967297", File::Test, -1, 1},
    {"Test", "ProfileInt", "4294967297", File::Test, 1, 1},
    {"Test", "ProfileInt", "-4294967297", File::Test, -1, 4294967295u},
    {"Test", "ProfileInt", "-4294967297", File::Test, 1, 4294967295u},
    {"Test", "ProfileInt", "42A94967297", File::Test, -1, 42},
    {"Test", "ProfileInt", "42A94967297", File::Test, 1, 42},
    {"Test", "ProfileInt", "B4294967297", File::Test, -1, 0},
    {"Test", "ProfileInt", "B4294967297", File::Test, 1, 0},
};

void CheckIntegers() {
    conformance::BeginGroup("GetPrivateProfileIntA");
    const std::string file = kHere + "testwine.ini";
    conformance::RemoveFile(file);
    int index = 0;
    for (const IntRow& row : kIntRows) {
        if (row.value) WritePrivateProfileStringA("Test", "ProfileInt", row.value, file.c_str());
        const UINT result = GetPrivateProfileIntA(row.section, row.key, row.defaultValue, FileName(row.file, file));
        Check(result == row.result, "row " + std::to_string(index++));
    }
}

// Lines without '=' are no keys; an added key is listed after the others.
void CheckKeyList() {
    conformance::BeginGroup("key names");
    const std::string file = kHere + "testwine2.ini";
    const char content[] = "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n";
    conformance::WriteFile(file, std::string(content, sizeof content));  // with the NUL
    char buffer[100];
    DWORD length = GetPrivateProfileStringA("s", nullptr, "", buffer, sizeof buffer, file.c_str());
    Check(length == 18 && std::memcmp(buffer, "name1\0name2\0name4\0", 19) == 0, "three keys");
    WritePrivateProfileStringA("s", "name5", "val5", file.c_str());
    length = GetPrivateProfileStringA("s", nullptr, "", buffer, sizeof buffer, file.c_str());
    Check(length == 24 && std::memcmp(buffer, "name1\0name2\0name4\0name5\0", 25) == 0, "a fourth key added");
}

struct StringRow {
    const char* what;
    const char* section;
    const char* key;
    const char* defaultValue;
    DWORD size;
    File file;
    DWORD result;
    const char* expected;  // compared over expectedBytes
    size_t expectedBytes;
    const char* wine;
};

#define BYTES(text) text, sizeof text
constexpr DWORD kBig = 260;

const StringRow kStringRows[] = {
    {"no section lists the sections", nullptr, "name1", "default", kBig, File::Test, 18,
     BYTES("section1\0section2\0"), nullptr},
    {"an empty section name", "", "name1", "default", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"a missing section", "notasection", "name1", "default", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"empty section, no default", "", "name1", nullptr, kBig, File::Test, 0, BYTES(""), nullptr},
    {"empty section, empty default", "", "name1", "", kBig, File::Test, 0, BYTES(""), nullptr},
    {"trailing blanks leave the default", "", "name1", "default  ", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"inner blanks stay in the default", "", "name1", "one two  ", kBig, File::Test, 7, BYTES("one two"), nullptr},
    {"a default with inner blanks", "", "name1", "one two", kBig, File::Test, 7, BYTES("one two"), nullptr},
    {"no key lists the keys", "section1", nullptr, "default", kBig, File::Test, 18, BYTES("name1\0name2\0name4"),
     nullptr},
    {"an empty key name", "section1", "", "default", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"a missing key", "section1", "notakey", "default", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"empty key, no default", "section1", "", nullptr, kBig, File::Test, 0, BYTES(""), nullptr},
    {"empty key, empty default", "section1", "", "", kBig, File::Test, 0, BYTES(""), nullptr},
    {"empty key, trailing blanks", "section1", "", "default  ", kBig, File::Test, 7, BYTES("default"), nullptr},
    {"no file name reads win.ini", "section1", "name1", "default", kBig, File::None, 7, BYTES("default"), nullptr},
    {"an empty file name", "section1", "name1", "default", kBig, File::Empty, 7, BYTES("default"), nullptr},
    {"a missing file", "section1", "name1", "default", kBig, File::BareMissing, 7, BYTES("default"), nullptr},
    {"no room at all leaves the buffer", "section1", "name1", "default", 0, File::Test, 0, BYTES("kumquat"),
     nullptr},
    {"a value cut to the buffer", "section1", "name1", "default", 4, File::Test, 3, BYTES("val"), nullptr},
    {"a value that just fits", "section1", "name1", "default", 5, File::Test, 4, BYTES("val1"), nullptr},
    {"a one-letter value", "section1", "name4", "default", kBig, File::Test, 1, BYTES("a"), nullptr},
    {"a one-letter value, room for none", "section1", "name4", "default", 1, File::Test, 0, BYTES(""), nullptr},
    {"a section list cut to the buffer", nullptr, "name1", "default", 16, File::Test, 14,
     BYTES("section1\0secti\0"), "Wine leaves no second NUL"},
    {"a key list cut to the buffer", "section1", nullptr, "default", 16, File::Test, 14, BYTES("name1\0name2\0na\0"),
     "Wine leaves no second NUL"},
    {"quotes around a value are taken off", "section1", "name2", "default", kBig, File::Test, 4, BYTES("val2"),
     nullptr},
    {"names ignore case", "section1", "NaMe1", "default", kBig, File::Test, 4, BYTES("val1"), nullptr},
    {"a bare name is not looked for here", "section1", "NaMe1", "default", kBig, File::BareMissing, 7,
     BYTES("default"), nullptr},
    {"a bare name is found in the Windows directory", "section1", "NaMe1", "default", kBig,
     File::BareInWindowsDirectory, 4, BYTES("val1"), nullptr},
    {"a value", "section1", "name1", "default", kBig, File::Test, 4, BYTES("val1"), nullptr},
    {"a section without keys", "section2", "DoesntExist", "", kBig, File::Test, 0, BYTES(""), nullptr},
};

void CheckStrings(const char* lineEnds, const std::string& content) {
    conformance::BeginGroup(lineEnds);
    const std::string file = kHere + "winetest.ini";
    conformance::WriteFile(file, content);
    bareInWindows = std::filesystem::current_path().filename().string() + ".ini";  // unique
    const std::string inWindows = Join(conformance::WindowsDirectory(), bareInWindows);
    conformance::WriteFile(inWindows, content);

    for (const StringRow& row : kStringRows) {
        char buffer[kBig];
        std::memset(buffer, 0xc, sizeof buffer);
        std::strcpy(buffer, "kumquat");
        const DWORD result =
            GetPrivateProfileStringA(row.section, row.key, row.defaultValue, buffer, row.size, FileName(row.file, file));
        Check(result == row.result, std::string(row.what) + ": length", row.wine);
        Check(std::memcmp(buffer, row.expected, row.expectedBytes) == 0, std::string(row.what) + ": text", row.wine);
    }
    conformance::RemoveFile(inWindows);
    conformance::RemoveFile(file);
}

// The file before each step of the write sequence.
enum class Before { Keep, Missing, Empty, NulsBeforeFirstSection };

struct WriteStep {
    const char* what;
    Before before;
    const char* section;
    const char* key;
    const char* value;
    File file;
    BOOL result;
    DWORD error;            // checked when the write fails
    const char* contents;   // null: the file must not exist
    size_t contentsBytes;
    const char* wine;
};

#define TEXT_BYTES(text) text, sizeof text - 1
const char kNuls[] = "Data \0 before \0 first \0 section";  // 31 bytes

const WriteStep kWriteSteps[] = {
    {"no section, no file", Before::Missing, nullptr, "key", "string", File::Test, FALSE, ERROR_FILE_NOT_FOUND,
     nullptr, 0, nullptr},
    {"no section, empty file", Before::Empty, nullptr, "key", "string", File::Test, FALSE, ERROR_FILE_NOT_FOUND,
     TEXT_BYTES(""), nullptr},
    {"deleting a section of no file", Before::Missing, "App", nullptr, "string", File::Test, TRUE, 0,
     TEXT_BYTES(""), "Wine makes no file"},
    {"deleting a key of no file", Before::Missing, "App", "key", nullptr, File::Test, TRUE, 0, TEXT_BYTES(""),
     "Wine makes no file"},
    {"an empty value", Before::Missing, "App", "key", "", File::Test, TRUE, 0, TEXT_BYTES("[App]\r\nkey=\r\n"),
     nullptr},
    {"an empty file name", Before::Keep, "App", "key", "string", File::Empty, FALSE, ERROR_ACCESS_DENIED,
     TEXT_BYTES("[App]\r\nkey=\r\n"), nullptr},
    {"a bare name goes to the Windows directory", Before::Keep, "App", "key", "string",
     File::BareInWindowsDirectory, TRUE, 0, TEXT_BYTES("[App]\r\nkey=string\r\n"), nullptr},
    {"a first key", Before::Missing, "App1", "key1", "string1", File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\n"), nullptr},
    {"keys and sections added", Before::Keep, "App1", "key2", "string2", File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey2=string2\r\n"), nullptr},
    {"a third key", Before::Keep, "App1", "key3", "string3", File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n"), nullptr},
    {"a second section", Before::Keep, "App2", "key4", "string4", File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"), nullptr},
    {"a third section", Before::Keep, "App3", "key5", "string5", File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
                "[App3]\r\nkey5=string5\r\n"),
     nullptr},
    {"a key deleted", Before::Keep, "App1", "key2", nullptr, File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"),
     nullptr},
    {"the key deleted again", Before::Keep, "App1", "key2", nullptr, File::Test, TRUE, 0,
     TEXT_BYTES("[App1]\r\nkey1=string1\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"),
     nullptr},
    {"a section deleted, value or not", Before::Keep, "App1", nullptr, "string1", File::Test, TRUE, 0,
     TEXT_BYTES("[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=string5\r\n"), nullptr},
    {"a section deleted", Before::Keep, "App2", nullptr, nullptr, File::Test, TRUE, 0,
     TEXT_BYTES("[App3]\r\nkey5=string5\r\n"), nullptr},
    {"the last key deleted", Before::Keep, "App3", "key5", nullptr, File::Test, TRUE, 0, TEXT_BYTES("[App3]\r\n"),
     nullptr},
    {"NULs before the first section stay", Before::NulsBeforeFirstSection, "section1", "key1", "string1",
     File::Test, TRUE, 0, TEXT_BYTES("Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"),
     "Wine drops what follows a NUL"},
};

void CheckWrites() {
    conformance::BeginGroup("WritePrivateProfileStringA");
    const std::string file = Join(conformance::FreshDirectory(), "write.ini");
    bareInWindows = std::filesystem::current_path().filename().string() + ".tmp";
    const std::string inWindows = Join(conformance::WindowsDirectory(), bareInWindows);
    conformance::RemoveFile(inWindows);

    for (const WriteStep& step : kWriteSteps) {
        if (step.before == Before::Missing) conformance::RemoveFile(file);
        if (step.before == Before::Empty) conformance::WriteFile(file, "");
        if (step.before == Before::NulsBeforeFirstSection) conformance::WriteFile(file, std::string(kNuls, 31));
        SetLastError(0xdeadbeef);
        const BOOL result = WritePrivateProfileStringA(step.section, step.key, step.value, FileName(step.file, file));
        const DWORD error = GetLastError();
        Check(result == step.result, std::string(step.what) + ": result", step.wine);
        if (!step.result) Check(error == step.error, std::string(step.what) + ": last error", step.wine);
        const std::string& written = step.file == File::BareInWindowsDirectory ? inWindows : file;
        if (!step.contents)
            Check(!conformance::FileExists(written), std::string(step.what) + ": no file", step.wine);
        else
            Check(conformance::FileExists(written) &&
                      conformance::ReadFile(written) == std::string(step.contents, step.contentsBytes),
                  std::string(step.what) + ": file", step.wine);
    }
    conformance::RemoveFile(inWindows);
}

// A rewritten file is read again; a removed one reads as missing.
void CheckRefresh() {
    conformance::BeginGroup("rereading");
    const std::string file = kHere + "winetest4.ini";
    conformance::WriteFile(file, "[Test]\nProfileInt=123\n");
    Check(GetPrivateProfileIntA("Test", "ProfileInt", 0, file.c_str()) == 123, "first contents");
    conformance::WriteFile(file, "[Test]\nProfileInt=124\n");
    Check(GetPrivateProfileIntA("Test", "ProfileInt", 0, file.c_str()) == 124, "rewritten");
    conformance::RemoveFile(file);
    Check(GetPrivateProfileIntA("Test", "ProfileInt", 421, file.c_str()) == 421, "removed");
}

}  // namespace

void CheckProfiles() {
    conformance::WindowsDirectory();
    conformance::FreshDirectory();
    CheckIntegers();
    CheckKeyList();
    CheckStrings("CR+LF line ends",
                 "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n");
    CheckStrings("CR line ends", "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r");
    CheckWrites();
    CheckRefresh();
}
