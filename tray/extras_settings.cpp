#include "extras_settings.h"

#include <windows.h>

namespace {

constexpr DWORD kValueBufferSize = 520;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\...", "\\server\share", "\..." and, natively, "/...".
bool IsAbsolute(const std::wstring& path) {
    return (!path.empty() && IsSeparator(path[0])) || (path.size() >= 2 && path[1] == L':');
}

}  // namespace

ExtrasSettings ReadExtrasSettings(const std::wstring& settingsPath) {
    const wchar_t* file = settingsPath.c_str();
    ExtrasSettings settings;
    settings.fixBalloons = ::GetPrivateProfileIntW(L"notify", L"fix", 0, file) != 0;
    settings.accessBalloon = ::GetPrivateProfileIntW(L"notify", L"access", 0, file) != 0;
    // A hold of no time, of negative time or of no number at all would let a
    // flickering receiver flood the user: those mean the default.
    const int hold = static_cast<int>(::GetPrivateProfileIntW(L"notify", L"hold_seconds", kDefaultHoldSeconds, file));
    settings.holdSeconds = hold < 1 ? kDefaultHoldSeconds : hold > kMaxHoldSeconds ? kMaxHoldSeconds : hold;

    wchar_t folder[kValueBufferSize] = {};
    ::GetPrivateProfileStringW(L"log", L"gpx", L"", folder, kValueBufferSize, file);
    if (folder[0]) settings.gpxFolder = ResolveFolder(folder, settingsPath);
    return settings;
}

std::wstring ResolveFolder(const std::wstring& folder, const std::wstring& settingsPath) {
    std::wstring resolved = folder;
    if (!IsAbsolute(folder)) {
        const size_t separator = settingsPath.find_last_of(L"\\/");
        const std::wstring directory = separator == std::wstring::npos ? L"" : settingsPath.substr(0, separator + 1);
        resolved = directory + folder;
    }
    // A root ("C:\", "/") keeps its separator.
    while (resolved.size() > 1 && IsSeparator(resolved.back()) && resolved[resolved.size() - 2] != L':')
        resolved.pop_back();
    return resolved;
}
