// The executable's own module: its path from /proc/self/exe and a dummy
// instance handle that stands for it.
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

#include "posix_errors.h"
#include "wide_text.h"

namespace {

char executableModule;

HMODULE ExecutableModule() { return reinterpret_cast<HMODULE>(&executableModule); }

bool ExecutablePath(std::string& path) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return false;
        if (static_cast<size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<size_t>(length));
            path = std::move(buffer);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    return ExecutableModule();
}

// Like Windows since Vista: a path that does not fit is cut to size - 1
// characters plus the terminator, and the result is size.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module && module != ExecutableModule()) {
        SetLastError(kErrorModNotFound);
        return 0;
    }
    std::string path;
    if (!ExecutablePath(path)) {
        SetLastError(Win32ErrorFromErrno(errno));
        return 0;
    }
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() < size) {
        std::memcpy(fileName, path.c_str(), path.size() + 1);
        SetLastError(ERROR_SUCCESS);
        return static_cast<DWORD>(path.size());
    }
    std::memcpy(fileName, path.data(), size - 1);
    fileName[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    if (module && module != ExecutableModule()) {
        SetLastError(kErrorModNotFound);
        return 0;
    }
    std::string path;
    if (!ExecutablePath(path)) {
        SetLastError(Win32ErrorFromErrno(errno));
        return 0;
    }
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::wstring wide = wide_text::Widen(path);
    const DWORD count = wide.size() < size ? static_cast<DWORD>(wide.size()) : size - 1;
    std::memcpy(fileName, wide.data(), count * sizeof(WCHAR));
    fileName[count] = L'\0';
    if (count < wide.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return count;
}
