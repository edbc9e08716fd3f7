// Open files by handle on POSIX descriptors: create or open, read, write at
// the file pointer, size, truncate, flush; and folders.
#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kernel_object.h"
#include "posix_errors.h"
#include "text/wide_text.h"

namespace {

class FileObject : public KernelObject {
public:
    explicit FileObject(int fd) : fd(fd) {}
    ~FileObject() override { close(fd); }
    const int fd;
};

BOOL Fail() {
    SetLastError(Win32ErrorFromErrno(errno));
    return FALSE;
}

// The descriptor behind a handle of CreateFileW, or -1 with the last error set.
int Descriptor(HANDLE handle) {
    auto* file = handle && handle != INVALID_HANDLE_VALUE
                     ? dynamic_cast<FileObject*>(static_cast<KernelObject*>(handle))
                     : nullptr;
    if (!file) SetLastError(ERROR_INVALID_HANDLE);
    return file ? file->fd : -1;
}

int OpenFlags(DWORD access) {
    const bool read = access & GENERIC_READ;
    const bool write = access & GENERIC_WRITE;
    return (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY) | O_CLOEXEC;
}

}  // namespace

// Differs from Windows: share modes are not enforced (POSIX has no mandatory locks).
HANDLE CreateFileW(LPCWSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE) {
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = wide_text::Narrow(fileName);
    const int flags = OpenFlags(access);
    int fd = -1;
    bool existed = false;
    switch (disposition) {
    case CREATE_NEW:
        fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        // Windows tells the caller whether the file was there already.
        fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (fd < 0 && errno == EEXIST) {
            existed = true;
            fd = open(path.c_str(), flags | (disposition == CREATE_ALWAYS ? O_TRUNC : 0));
        }
        break;
    case OPEN_EXISTING:
        fd = open(path.c_str(), flags);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (fd < 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return RegisterKernelObject(new FileObject(fd));
}

namespace {

// Reads or writes until `count` bytes are done, the file ends (a read of
// nothing) or a call fails; `done` follows the bytes moved.
template <typename Move>
BOOL MoveBytes(HANDLE file, DWORD count, LPDWORD done, Move move) {
    if (done) *done = 0;
    const int fd = Descriptor(file);
    if (fd < 0) return FALSE;
    for (DWORD moved = 0; moved < count;) {
        const ssize_t got = move(fd, moved, count - moved);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return Fail();
        }
        moved += static_cast<DWORD>(got);
        if (done) *done = moved;
    }
    return TRUE;
}

}  // namespace

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPVOID) {
    return MoveBytes(file, toRead, read, [&](int fd, DWORD at, DWORD count) {
        return ::read(fd, static_cast<char*>(buffer) + at, count);
    });
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPVOID) {
    return MoveBytes(file, toWrite, written, [&](int fd, DWORD at, DWORD count) {
        return write(fd, static_cast<const char*>(buffer) + at, count);
    });
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method) {
    const int fd = Descriptor(file);
    if (fd < 0) return FALSE;
    const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    const off_t position = lseek(fd, static_cast<off_t>(distance.QuadPart), whence);
    if (position < 0) return Fail();
    if (newPosition) newPosition->QuadPart = position;
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    const int fd = Descriptor(file);
    if (fd < 0) return FALSE;
    struct stat info {};
    if (fstat(fd, &info) != 0) return Fail();
    size->QuadPart = info.st_size;
    return TRUE;
}

BOOL SetEndOfFile(HANDLE file) {
    const int fd = Descriptor(file);
    if (fd < 0) return FALSE;
    const off_t position = lseek(fd, 0, SEEK_CUR);
    if (position < 0 || ftruncate(fd, position) != 0) return Fail();
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
    const int fd = Descriptor(file);
    if (fd < 0) return FALSE;
    if (fsync(fd) != 0) return Fail();
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
    if (!pathName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (mkdir(wide_text::Narrow(pathName).c_str(), 0777) != 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}
