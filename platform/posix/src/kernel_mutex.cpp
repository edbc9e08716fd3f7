// Named mutexes as a cross-process existence test. Each handle opens
// "<name>.lock" in $XDG_RUNTIME_DIR (or /tmp) and holds a shared
// open-file-description lock on its first byte, which the system drops when
// the handle is closed or its process ends, however it ends. A creator that
// can take the lock exclusively holds the only handle, so the name is new;
// it then converts its lock to shared in one step, leaving no moment in
// which another creator could also find the name free.
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "kernel_object.h"
#include "posix_errors.h"

namespace {

class MutexObject : public KernelObject {
public:
    explicit MutexObject(int fd = -1) : fd_(fd) {}
    ~MutexObject() override {
        if (fd_ >= 0) close(fd_);
    }

private:
    int fd_;
};

std::string LockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime && *runtime && stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) return runtime;
    return "/tmp";
}

std::string LockPath(const char* name) {
    std::string file = name;
    for (char& c : file)
        if (c == '/') c = '_';
    return LockDirectory() + "/" + file + ".lock";
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

HANDLE Fail(int error, int fd) {
    if (fd >= 0) close(fd);
    SetLastError(Win32ErrorFromErrno(error));
    return nullptr;
}

}  // namespace

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_SUCCESS);
        return RegisterKernelObject(new MutexObject());
    }

    const int fd = open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return Fail(errno, -1);

    bool existed = false;
    if (SetLock(fd, F_WRLCK, false)) {
        if (!SetLock(fd, F_RDLCK, false)) return Fail(errno, fd);
    } else {
        if (errno != EAGAIN && errno != EACCES) return Fail(errno, fd);
        existed = true;
        // Another creator may hold the exclusive lock for a moment; wait for its conversion.
        if (!SetLock(fd, F_RDLCK, true)) return Fail(errno, fd);
    }

    HANDLE handle = RegisterKernelObject(new MutexObject(fd));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
