#include "file_stamp.h"

#include <system_error>

FileStamp ReadFileStamp(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(path);
    FileStamp stamp;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error) return {};
    stamp.size = std::filesystem::file_size(file, error);
    if (error) return {};
    stamp.exists = true;
    return stamp;
}
