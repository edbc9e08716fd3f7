#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// What tells that a file changed: its modification time and size.
struct FileStamp {
    bool exists = false;
    std::filesystem::file_time_type modified{};
    std::uintmax_t size = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp ReadFileStamp(const std::string& path);
