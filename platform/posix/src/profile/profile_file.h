// Whole-file reading and replacing for the private-profile functions.
#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>

// No settings file is this large; one that is gets neither read nor written.
constexpr size_t kMaxProfileBytes = 64u << 20;

// Reads the whole file. False with errno set when it exists but cannot be
// read (EFBIG past kMaxProfileBytes); a missing file gives true, empty text
// and exists = false. Anything but a regular file (a FIFO, a device, a
// directory) counts as missing and is never waited on. The file's status,
// as it was opened, goes to info when given.
bool ReadProfileFile(const char* path, std::string& text, bool& exists, struct stat* info = nullptr);

// Replaces the file's contents without ever leaving it half written: the
// text goes to a temporary file beside it that is then renamed over it. An
// existing file keeps its permissions; a symbolic link stays a link, even a
// dangling one, and the file it names is written. A file that this user may
// not write fails with EACCES and stays as it was; in a directory this user
// may not write, a writable file is rewritten in place. False with errno set
// on failure.
bool ReplaceProfileFile(const char* path, const std::string& text);

// Follows symbolic links to the file they finally name, whether it exists
// or not. False with ELOOP when the links go round.
bool FinalTarget(const char* path, std::string& target);

// Removes the temporary files that a process which has ended left beside the
// file when it was stopped in the middle of ReplaceProfileFile.
void RemoveAbandonedReplacements(const std::string& path);
