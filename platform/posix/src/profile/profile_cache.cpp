#include "profile_cache.h"

#include <list>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <time.h>

#include "kernel/whole_file.h"

namespace {

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

FileStamp StampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

struct Entry {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const ProfileDocument> document;
};

// A few files at most are read at once (the settings, a scenario), so a short
// list, most recent first, is enough.
constexpr size_t kMaxEntries = 8;
std::mutex cacheLock;
std::list<Entry> entries;

}  // namespace

std::shared_ptr<const ProfileDocument> CachedProfile(const char* path) {
    struct stat info {};
    const bool present = stat(path, &info) == 0 && S_ISREG(info.st_mode);
    {
        std::lock_guard<std::mutex> guard(cacheLock);
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            if (entry->path != path) continue;
            if (present && entry->stamp == StampOf(info)) {
                entries.splice(entries.begin(), entries, entry);
                return entry->document;
            }
            entries.erase(entry);
            break;
        }
    }

    // Temporaries that a writer stopped half-way through left beside the file
    // (or beside a copy of it named after it) go when it is loaded from disk.
    RemoveAbandonedReplacements(path);

    // File times come from the kernel's coarse clock: a change made in the
    // same tick as the one seen here would keep the stamp, so a file changed
    // since this tick began is read again next time rather than kept.
    timespec start{};
    clock_gettime(CLOCK_REALTIME_COARSE, &start);
    std::string text;
    bool exists = false;
    // A file that cannot be read counts as empty, as on Windows.
    const bool read = ReadWholeFile(path, text, exists, &info);
    if (!read) text.clear();
    auto document = std::make_shared<const ProfileDocument>(std::move(text));
    if (read && exists && Before(info.st_ctim, start)) {
        std::lock_guard<std::mutex> guard(cacheLock);
        entries.push_front({path, StampOf(info), document});
        if (entries.size() > kMaxEntries) entries.pop_back();
    }
    return document;
}

void ForgetProfile(const char* path) {
    std::lock_guard<std::mutex> guard(cacheLock);
    entries.remove_if([path](const Entry& entry) { return entry.path == path; });
}
