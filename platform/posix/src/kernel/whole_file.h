// Whole-file reading and replacing, as the private-profile functions need it.
#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>

// No settings file is this large; one that is gets neither read nor written.
constexpr size_t kMaxWholeFileBytes = 64u << 20;

// Reads the whole file. False with errno set when it exists but cannot be
// read (EFBIG past kMaxWholeFileBytes); a missing file gives true, empty text
// and exists = false. Anything but a regular file (a FIFO, a device, a
// directory) counts as missing and is never waited on. The file's status,
// as it was opened, goes to info when given.
bool ReadWholeFile(const char* path, std::string& text, bool& exists, struct stat* info = nullptr);

// Replaces the file's contents without ever leaving it half written: the
// text goes to a temporary file beside it that is then renamed over it. An
// existing file keeps its permissions; a symbolic link stays a link, even a
// dangling one, and the file it names is written. A file that this user may
// not write fails with EACCES and stays as it was; in a directory this user
// may not write, a writable file is rewritten in place. False with errno set
// on failure.
bool ReplaceWholeFile(const char* path, const std::string& text);

// Follows symbolic links to the file they finally name, whether it exists
// or not. False with ELOOP when the links go round.
bool FinalTarget(const char* path, std::string& target);

// Removes the temporary files that processes which have ended left when they
// were stopped in the middle of ReplaceWholeFile: those of the file itself
// and those of files beside it whose names begin with its name (a copy of
// it being written, such as "<name>.new").
void RemoveAbandonedReplacements(const std::string& path);
