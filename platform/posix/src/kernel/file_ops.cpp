// Files by wide name: attributes, copy, replace and delete, on POSIX calls.
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "posix_errors.h"
#include "whole_file.h"
#include "text/wide_text.h"

namespace {

BOOL Fail() {
    SetLastError(Win32ErrorFromErrno(errno));
    return FALSE;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool CopyBytes(int from, int to) {
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(from, chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t written = write(to, chunk + done, static_cast<size_t>(got - done));
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += written;
        }
    }
}

}  // namespace

// Differs from Windows: a file no one may write is read-only; no other attributes are reported.
DWORD GetFileAttributesW(LPCWSTR fileName) {
    struct stat info {};
    if (!fileName || stat(wide_text::Narrow(fileName).c_str(), &info) != 0) {
        SetLastError(fileName ? Win32ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    // A file no one may write counts as read-only, as the profile functions see it.
    return (info.st_mode & 0222) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

BOOL CopyFileW(LPCWSTR existing, LPCWSTR newFile, BOOL failIfExists) {
    if (!existing || !newFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int from = open(wide_text::Narrow(existing).c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return Fail();
    struct stat info {};
    const bool regular = fstat(from, &info) == 0 && S_ISREG(info.st_mode);
    if (!regular) {
        close(from);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const int createFlags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
    const int to = open(wide_text::Narrow(newFile).c_str(), createFlags, info.st_mode & 07777);
    if (to < 0) {
        const DWORD error = errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno);
        close(from);
        SetLastError(error);
        return FALSE;
    }
    bool ok = CopyBytes(from, to);
    const int error = errno;
    close(from);
    ok = close(to) == 0 && ok;
    if (!ok) {
        errno = error;
        return Fail();
    }
    return TRUE;
}

// Differs from Windows: a symbolic link at the new name is followed and the file it names replaced.
BOOL MoveFileExW(LPCWSTR existing, LPCWSTR newFile, DWORD flags) {
    if (!existing || !newFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string from = wide_text::Narrow(existing);
    std::string to;
    if (!FinalTarget(wide_text::Narrow(newFile).c_str(), to)) return Fail();
    struct stat info {};
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && lstat(to.c_str(), &info) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (flags & MOVEFILE_WRITE_THROUGH) {
        // The contents reach the disk before the name does.
        const int file = open(from.c_str(), O_RDONLY | O_CLOEXEC);
        if (file >= 0) {
            fsync(file);
            close(file);
        }
    }
    if (rename(from.c_str(), to.c_str()) != 0) return Fail();
    if (flags & MOVEFILE_WRITE_THROUGH) {
        const int directory = open(DirectoryOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            fsync(directory);
            close(directory);
        }
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (unlink(wide_text::Narrow(fileName).c_str()) != 0) return Fail();
    return TRUE;
}
