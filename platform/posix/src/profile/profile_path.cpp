#include "profile_path.h"

#include <cstdlib>
#include <sys/stat.h>

std::string WindowsDirectory() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return std::string(config) + "/lodestar/windows";
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return std::string(home) + "/.config/lodestar/windows";
    return {};
}

std::string ProfilePath(const char* fileName, bool create) {
    const std::string name = fileName ? fileName : "win.ini";
    if (name.find('/') != std::string::npos) return name;
    const std::string directory = WindowsDirectory();
    if (directory.empty()) return {};
    if (create) {
        // Each missing level in turn; the levels this creates are the user's alone.
        for (size_t slash = directory.find('/', 1); slash != std::string::npos;
             slash = directory.find('/', slash + 1))
            mkdir(directory.substr(0, slash).c_str(), 0700);
        mkdir(directory.c_str(), 0700);
    }
    return directory + "/" + name;
}
