// RegisterWindowMessageA: one id per name for the whole process, as Windows
// gives one per name for the whole session.
#include <windows.h>

#include <cctype>
#include <map>
#include <string>

namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;

std::string Folded(LPCSTR name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

}  // namespace

UINT RegisterWindowMessageA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static std::map<std::string, UINT> ids;
    const auto [it, added] = ids.try_emplace(Folded(name), kFirstRegisteredMessage + static_cast<UINT>(ids.size()));
    return it->second;
}
