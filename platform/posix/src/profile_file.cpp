#include "profile_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the error a delayed write may only show here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

// A symbolic link is replaced by writing to the file it names.
std::string ResolvedTarget(const char* path) {
    struct stat info {};
    if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = realpath(path, nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".tmp%ld.%u", static_cast<long>(getpid()), counter++);
        temporary = target + suffix;
        // 0666 lets the umask decide a new file's permissions, as for any new file.
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool ReadProfileFile(const char* path, std::string& text, bool& exists, struct stat* info) {
    text.clear();
    exists = false;
    FileDescriptor file(open(path, O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) return errno == ENOENT || errno == ENOTDIR;
    exists = true;
    if (info && fstat(file.get(), info) != 0) return false;
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.append(chunk, static_cast<size_t>(got));
    }
}

bool ReplaceProfileFile(const char* path, const std::string& text) {
    const std::string target = ResolvedTarget(path);
    std::string temporary;
    FileDescriptor file(CreateTemporaryBeside(target, temporary));
    if (file.get() < 0) return false;

    struct stat existing {};
    bool ok = true;
    if (stat(target.c_str(), &existing) == 0) ok = fchmod(file.get(), existing.st_mode & 07777) == 0;
    ok = ok && WriteAll(file.get(), text) && fsync(file.get()) == 0;
    ok = file.Close() && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
    }
    return ok;
}
