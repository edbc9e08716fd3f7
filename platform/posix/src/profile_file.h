// Whole-file reading and replacing for the private-profile functions.
#pragma once

#include <string>
#include <sys/stat.h>

// Reads the whole file. False with errno set when it exists but cannot be
// read; a missing file gives true, empty text and exists = false. The file's
// status, as it was opened, goes to info when given.
bool ReadProfileFile(const char* path, std::string& text, bool& exists, struct stat* info = nullptr);

// Replaces the file's contents without ever leaving it half written: the
// text goes to a temporary file beside it that is then renamed over it. An
// existing file keeps its permissions; a symbolic link stays a link. False
// with errno set on failure, the old file untouched.
bool ReplaceProfileFile(const char* path, const std::string& text);
