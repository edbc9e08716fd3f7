// Named mutexes as a cross-process existence test. Each handle opens
// "<name>.lock" in a directory of this user's alone ($XDG_RUNTIME_DIR, else
// $TMPDIR/lodestar-<uid>, so that no other user can hold or plant the name)
// and holds a shared open-file-description lock on its first byte, which the
// system drops when the handle is closed or its process ends, however it
// ends. A creator that can take the lock exclusively holds the only handle,
// so the name is new; it then converts its lock to shared in one step,
// leaving no moment in which another creator could also find the name free.
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "kernel_object.h"
#include "posix_errors.h"

namespace {

class MutexObject : public KernelObject {
public:
    explicit MutexObject(int fd = -1) : m_fd(fd) {}
    ~MutexObject() override {
        if (m_fd >= 0) close(m_fd);
    }

private:
    int m_fd;
};

// A directory that is this user's alone: owned by the user, writable by no
// one else, and not a symbolic link.
bool IsPrivateDirectory(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The lock's directory; false, with errno set, when it is not this user's alone.
bool LockDirectory(std::string& directory) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && IsPrivateDirectory(runtime)) {
        directory = runtime;
        return true;
    }
    const char* temporary = std::getenv("TMPDIR");
    directory = temporary && *temporary == '/' ? temporary : "/tmp";
    directory += "/lodestar-" + std::to_string(geteuid());
    if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (IsPrivateDirectory(directory)) return true;
    errno = EACCES;
    return false;
}

bool SetLock(int fd, short type, bool wait) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    for (;;) {
        if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock) == 0) return true;
        if (errno != EINTR) return false;
    }
}

// The program would otherwise end without a word: say why, once.
HANDLE Fail(int error, int fd, const std::string& path) {
    if (fd >= 0) close(fd);
    std::fprintf(stderr, "%s: cannot make the single-instance lock %s: %s\n", program_invocation_short_name,
                 path.c_str(), std::strerror(error));
    SetLastError(Win32ErrorFromErrno(error));
    return nullptr;
}

}  // namespace

// Differs from Windows: a named mutex is a per-user lock file that only tells whether the name exists.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_SUCCESS);
        return RegisterKernelObject(new MutexObject());
    }

    std::string directory;
    if (!LockDirectory(directory)) return Fail(errno, -1, "in " + directory);
    std::string path = directory + "/" + name + ".lock";
    for (size_t i = directory.size() + 1; i < path.size(); ++i)
        if (path[i] == '/') path[i] = '_';
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return Fail(errno, -1, path);

    bool existed = false;
    if (SetLock(fd, F_WRLCK, false)) {
        if (!SetLock(fd, F_RDLCK, false)) return Fail(errno, fd, path);
    } else {
        if (errno != EAGAIN && errno != EACCES) return Fail(errno, fd, path);
        existed = true;
        // Another creator may hold the exclusive lock for a moment; wait for its conversion.
        if (!SetLock(fd, F_RDLCK, true)) return Fail(errno, fd, path);
    }

    HANDLE handle = RegisterKernelObject(new MutexObject(fd));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
