// Icons: heap objects named after their origin. LoadIconA hands out one
// shared icon per module and resource, as Windows does, which DestroyIcon
// leaves alone; each ExtractIconA makes a new icon, and DestroyIcon deletes
// it, so that a sanitizer catches a double destroy or a use after destroy.
// The set of live icons keeps them reachable (no leak reports) and lets tests
// check a handle without using it.
#include "desktop_icons.h"

#include "desktop_console.h"
#include "desktop_errors.h"

#include <shellapi.h>

#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>

namespace desktop {
namespace {

constexpr std::uint32_t kIconMagic = 0x4E4F4349;  // "ICON"
constexpr UINT kApplicationIcon = 128;

struct IconObject {
    std::uint32_t magic = kIconMagic;
    std::string name;
    bool shared = false;
};

std::unordered_set<HICON>& LiveIcons() {
    static auto* live = new std::unordered_set<HICON>;  // never freed: it must outlive every icon
    return *live;
}

HICON NewIcon(std::string name, bool shared = false) {
    auto* object = new IconObject{kIconMagic, std::move(name), shared};
    HICON icon = reinterpret_cast<HICON>(object);
    LiveIcons().insert(icon);
    return icon;
}

HICON SharedIcon(HINSTANCE module, std::string name) {
    static auto* shared = new std::map<std::pair<HINSTANCE, std::string>, HICON>;  // never freed, as LiveIcons
    HICON& icon = (*shared)[{module, name}];
    if (!icon) icon = NewIcon(std::move(name), true);
    return icon;
}

IconObject* Object(HICON icon) { return reinterpret_cast<IconObject*>(icon); }

// The start of an .ico file: reserved 0, type 1, then the image count.
enum class IconFile { Missing, NotIcons, Icons };

IconFile ReadIconFileHeader(const char* path, unsigned& count) {
    // O_NONBLOCK: a FIFO named as an icon must not hold the program up.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return IconFile::Missing;
    struct stat info {};
    unsigned char header[6];
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool complete = regular && read(fd, header, sizeof header) == static_cast<ssize_t>(sizeof header);
    close(fd);
    if (!regular) return IconFile::Missing;
    if (!complete) return IconFile::NotIcons;
    const unsigned reserved = header[0] | header[1] << 8;
    const unsigned type = header[2] | header[3] << 8;
    count = header[4] | header[5] << 8;
    return reserved == 0 && type == 1 ? IconFile::Icons : IconFile::NotIcons;
}

}  // namespace

std::string IconText(HICON icon) {
    if (!icon) return "none";
    if (icon == kNoIconContainer) return "invalid";
    return Object(icon)->name;
}

bool IconIsUsable(HICON icon) {
    return icon && icon != kNoIconContainer && Object(icon)->magic == kIconMagic;
}

bool IconIsAlive(HICON icon) { return LiveIcons().count(icon) != 0; }

std::string IconName(HICON icon) { return IconText(icon); }

}  // namespace desktop

HICON LoadIconA(HINSTANCE module, LPCSTR iconName) {
    if (!iconName) {
        SetLastError(desktop::kErrorResourceNameNotFound);
        return nullptr;
    }
    if (!IS_INTRESOURCE(iconName)) return desktop::SharedIcon(module, std::string("builtin:") + iconName);
    const auto id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(iconName));
    return desktop::SharedIcon(module, id == desktop::kApplicationIcon ? "app" : "builtin:" + std::to_string(id));
}

BOOL DestroyIcon(HICON icon) {
    if (!icon || icon == desktop::kNoIconContainer) {
        SetLastError(desktop::kErrorInvalidIconHandle);
        return FALSE;
    }
    desktop::IconObject* object = desktop::Object(icon);
    if (object->shared) return TRUE;
    desktop::LiveIcons().erase(icon);
    object->magic = 0;
    delete object;
    return TRUE;
}

HICON ExtractIconA(HINSTANCE, LPCSTR fileName, UINT index) {
    if (!fileName) return nullptr;
    unsigned count = 0;
    const desktop::IconFile file = desktop::ReadIconFileHeader(fileName, count);
    // Index -1 asks how many icons the file holds; an .ico file is one icon.
    if (index == UINT_MAX) {
        const INT_PTR icons = file == desktop::IconFile::Icons && count > 0 ? 1 : 0;
        return reinterpret_cast<HICON>(icons);
    }
    switch (file) {
        case desktop::IconFile::Missing: return nullptr;
        case desktop::IconFile::NotIcons: return desktop::kNoIconContainer;
        case desktop::IconFile::Icons: break;
    }
    // All the images of an .ico file are one icon, at index 0.
    if (index != 0 || count == 0) return nullptr;
    return desktop::NewIcon("file:" + std::string(fileName) + "," + std::to_string(index));
}
