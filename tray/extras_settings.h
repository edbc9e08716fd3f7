// The optional keys of the settings file: balloons about the fix and about
// location access ([notify]) and the track log ([log]). Read at start and
// never written, so a user's choice survives every save.
#pragma once

#include <string>

struct ExtrasSettings {
    bool fixBalloons = false;
    bool accessBalloon = false;
    // How long a loss must last before it is told, and the least time
    // between two balloons.
    int holdSeconds = 10;
    // The track log's folder, absolute; empty: no log.
    std::wstring gpxFolder;
};

constexpr int kDefaultHoldSeconds = 10;
constexpr int kMaxHoldSeconds = 3600;

ExtrasSettings ReadExtrasSettings(const std::wstring& settingsPath);

// `folder` as an absolute path: relative ones are taken from the folder of
// `settingsPath` (the program's). No separator at the end.
std::wstring ResolveFolder(const std::wstring& folder, const std::wstring& settingsPath);
