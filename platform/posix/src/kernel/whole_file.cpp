#include "whole_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting the error a delayed write may only show here.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
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

}  // namespace

bool FinalTarget(const char* path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof link);
        if (length < 0 || length == static_cast<ssize_t>(sizeof link)) return true;
        const std::string next(link, static_cast<size_t>(length));
        const size_t slash = target.rfind('/');
        target = next.front() == '/' || slash == std::string::npos ? next : target.substr(0, slash + 1) + next;
    }
    errno = ELOOP;
    return false;
}

namespace {

// Room for the new text is taken first, so that a full disk fails before
// any byte of the file has changed.
bool RewriteInPlace(int fd, const std::string& text) {
    const off_t size = static_cast<off_t>(text.size());
    if (size > 0 && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
        return false;
    return lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, text) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
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

bool ReadWholeFile(const char* path, std::string& text, bool& exists, struct stat* info) {
    text.clear();
    exists = false;
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    FileDescriptor file(open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) return errno == ENOENT || errno == ENOTDIR;
    struct stat own {};
    if (!info) info = &own;
    if (fstat(file.get(), info) != 0) return false;
    if (!S_ISREG(info->st_mode)) return true;
    exists = true;
    if (static_cast<unsigned long long>(info->st_size) > kMaxWholeFileBytes) {
        errno = EFBIG;
        return false;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t got = read(file.get(), chunk, sizeof chunk);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.append(chunk, static_cast<size_t>(got));
        if (text.size() > kMaxWholeFileBytes) {
            errno = EFBIG;
            return false;
        }
    }
}

bool ReplaceWholeFile(const char* path, const std::string& text) {
    std::string target;
    if (!FinalTarget(path, target)) return false;

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    // A file no one may write is read-only, as one with Windows' read-only
    // attribute is, even for root.
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        errno = EACCES;
        return false;
    }
    // Opening the file for writing asks the system whether this user may
    // change it; the write itself goes to a new file when it can.
    FileDescriptor current(exists ? open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC) : -1);
    if (exists && current.get() < 0) return false;

    std::string temporary;
    FileDescriptor file(CreateTemporaryBeside(target, temporary));
    if (file.get() < 0) {
        if (current.get() >= 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            return RewriteInPlace(current.get(), text) && current.Close();
        return false;
    }

    bool ok = !exists || fchmod(file.get(), existing.st_mode & 07777) == 0;
    // Like Windows' own writer, no flush to disk on every write: a caller
    // that needs the file on disk asks for it (MoveFileExW's write-through).
    ok = ok && WriteAll(file.get(), text);
    ok = file.Close() && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
    }
    return ok;
}

namespace {

// The temporaries "<file><anything>.tmp<pid>.<n>" beside the file whose
// process has ended.
void RemoveAbandonedBeside(const std::string& file) {
    const auto slash = file.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : file.substr(0, slash + 1);
    const std::string base = file.substr(slash == std::string::npos ? 0 : slash + 1);
    DIR* listing = opendir(directory.c_str());
    if (!listing) return;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        const size_t mark = name.rfind(".tmp");
        if (name.compare(0, base.size(), base) != 0 || mark == std::string::npos || mark < base.size()) continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + mark + 4, &end, 10);
        if (pid <= 0 || *end != '.' || pid == getpid()) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        unlink((directory + "/" + name).c_str());
    }
    closedir(listing);
}

}  // namespace

void RemoveAbandonedReplacements(const std::string& path) {
    RemoveAbandonedBeside(path);
    std::string target;
    if (FinalTarget(path.c_str(), target) && target != path) RemoveAbandonedBeside(target);
}
