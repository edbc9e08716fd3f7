// Whole-file reading and replacing for the private-profile functions.
#pragma once

#include <string>

// Reads the whole file. False with errno set when it exists but cannot be
// read; a missing file gives true, empty text and exists = false.
bool ReadProfileFile(const char* path, std::string& text, bool& exists);

// Replaces the file's contents without ever leaving it half written: the
// text goes to a temporary file beside it that is then renamed over it. An
// existing file keeps its permissions; a symbolic link stays a link. False
// with errno set on failure, the old file untouched.
bool ReplaceProfileFile(const char* path, const std::string& text);

// Removes the temporary files that a process which has ended left beside the
// file when it was stopped in the middle of ReplaceProfileFile.
void RemoveAbandonedReplacements(const std::string& path);
