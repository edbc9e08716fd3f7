#include "conformance.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace conformance {
extern std::vector<std::filesystem::path> made;
namespace {

const char* group = "";
int failures = 0;
int checks = 0;
int wineNotes = 0;

}  // namespace

std::vector<std::filesystem::path> made;

void BeginGroup(const char* name) { group = name; }

void Check(bool passed, const std::string& row, const char* wine) {
    ++checks;
    if (passed) return;
    if (wine && RunningUnderWine()) {
        ++wineNotes;
        std::printf("wine differs: %s: %s (%s)\n", group, row.c_str(), wine);
        return;
    }
    ++failures;
    std::printf("FAILED: %s: %s\n", group, row.c_str());
}

int Failures() {
    std::printf("%d checks, %d failed, %d known Wine differences\n", checks, failures, wineNotes);
    return failures;
}

bool RunningUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

std::string FreshDirectory() {
    static int count = 0;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto path = base / ("conformance." + std::to_string(std::rand()) + "." + std::to_string(++count));
        if (std::filesystem::create_directory(path)) {
            made.push_back(path);
            std::filesystem::current_path(path);
            return path.string();
        }
    }
}

std::string WindowsDirectory() {
#ifdef _WIN32
    char path[MAX_PATH];
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
#else
    static const std::string config = [] {
        const std::string home = FreshDirectory();
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        std::filesystem::create_directories(home + "/lodestar/windows");
        WriteFile(home + "/lodestar/windows/win.ini", "[fonts]\r\n[extensions]\r\n");
        return home + "/lodestar/windows";
    }();
    return config;
#endif
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void RemoveFile(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

std::string Join(const std::string& directory, const std::string& name) {
    return (std::filesystem::path(directory) / name).string();
}

}  // namespace conformance

int main() {
    CheckProfiles();
    CheckGuidText();
    CheckCodePages();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    for (const auto& path : conformance::made) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    return conformance::Failures() == 0 ? 0 : 1;
}
