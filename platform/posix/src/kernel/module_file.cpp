// The executable's own module: its path from /proc/self/exe and a dummy
// instance handle that stands for it.
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <unistd.h>

#include "posix_errors.h"
#include "text/wide_text.h"

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

// Like Windows since Vista: a path that does not fit is cut to size - 1
// characters plus the terminator, and the result is size.
template <typename Char>
DWORD CopyModuleFileName(HMODULE module, Char* fileName, DWORD size,
                         std::basic_string<Char> (*convert)(const std::string&)) {
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
    const std::basic_string<Char> converted = convert(path);
    const DWORD count = converted.size() < size ? static_cast<DWORD>(converted.size()) : size - 1;
    std::memcpy(fileName, converted.data(), count * sizeof(Char));
    fileName[count] = Char{};
    if (count < converted.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    SetLastError(ERROR_SUCCESS);
    return count;
}

std::string AsIs(const std::string& path) { return path; }

}  // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    return ExecutableModule();
}

BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleName, HMODULE* module) {
    if (!module) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    if (moduleName && !(flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)) {
        SetLastError(kErrorModNotFound);
        return FALSE;
    }
    *module = ExecutableModule();
    return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    return CopyModuleFileName<char>(module, fileName, size, AsIs);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    return CopyModuleFileName<wchar_t>(module, fileName, size, wide_text::Widen);
}
