// The notification area: entries keyed by window and id, each change printed
// as a "tray" event line.
#include "desktop_tray.h"

#include "desktop_console.h"
#include "desktop_icons.h"
#include "desktop_output.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace desktop {
namespace {

constexpr DWORD kSetVersion = 4;  // NIM_SETVERSION
constexpr DWORD kErrorAlreadyExists = ERROR_ALREADY_EXISTS;
constexpr DWORD kErrorNotFound = ERROR_NOT_FOUND;

std::vector<TrayEntry> entries;  // in the order they were added
DWORD trayFailure = 0;
int failingCalls = 0;  // -1: all

std::vector<TrayEntry>::iterator FindEntry(HWND hwnd, UINT id) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const TrayEntry& entry) { return entry.window == hwnd && entry.id == id; });
}

// Copies the tooltip as the shell does: at most 127 characters and the zero.
void CopyTip(TrayEntry& entry, const CHAR (&tip)[128]) {
    const size_t length = strnlen(tip, sizeof tip - 1);
    std::memcpy(entry.tip, tip, length);
    entry.tip[length] = '\0';
}

void Apply(TrayEntry& entry, const NOTIFYICONDATAA& data) {
    if (data.uFlags & NIF_MESSAGE) entry.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON) entry.icon = data.hIcon;
    if (data.uFlags & NIF_TIP) CopyTip(entry, data.szTip);
    // An empty text takes the balloon away.
    if (data.uFlags & NIF_INFO) entry.balloonShown = data.szInfo[0] != '\0';
}

// A balloon: its title and text, each cut where the shell cuts it.
void WriteBalloonEvent(const char* action, const TrayEntry& entry, const NOTIFYICONDATAA& data) {
    std::string line;
    ((line += "tray ") += action) += ' ';
    (line += std::to_string(entry.id)) += " info=";
    AppendEscaped(line, std::string(data.szInfoTitle, strnlen(data.szInfoTitle, sizeof data.szInfoTitle - 1)) + '\n' +
                            std::string(data.szInfo, strnlen(data.szInfo, sizeof data.szInfo - 1)));
    WriteEvent(line);
}

void WriteEntryEvent(const char* action, const TrayEntry& entry) {
    std::string line;
    line.reserve(64 + 2 * sizeof entry.tip);
    ((line += "tray ") += action) += ' ';
    (line += std::to_string(entry.id)) += " icon=";
    AppendEscaped(line, IconText(entry.icon));  // a file's path comes from the settings
    line += " tip=";
    AppendEscaped(line, entry.tip);
    WriteEvent(line);
}

// A call that only shows a balloon prints the balloon alone.
void WriteChangeEvents(const char* action, const TrayEntry& entry, const NOTIFYICONDATAA& data) {
    if (!(data.uFlags & NIF_INFO) || (data.uFlags & ~NIF_INFO)) WriteEntryEvent(action, entry);
    if (data.uFlags & NIF_INFO) WriteBalloonEvent(action, entry, data);
}

}  // namespace

const TrayEntry* LatestTrayEntry() { return entries.empty() ? nullptr : &entries.back(); }

bool CloseLatestBalloon() {
    if (entries.empty() || !entries.back().balloonShown) return false;
    entries.back().balloonShown = false;
    return true;
}

void ForgetTrayEntries() { entries.clear(); }

void ResetTray() {
    entries.clear();
    trayFailure = 0;
}

void SetTrayFailure(DWORD error, int calls) {
    trayFailure = error;
    failingCalls = calls;
}

std::vector<TrayEntryState> TrayEntries() {
    std::vector<TrayEntryState> states;
    for (const TrayEntry& entry : entries)
        states.push_back(TrayEntryState{entry.window, entry.id, entry.callbackMessage, entry.icon, entry.tip});
    return states;
}

}  // namespace desktop

BOOL Shell_NotifyIconA(DWORD message, PNOTIFYICONDATAA data) {
    using namespace desktop;
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (trayFailure && failingCalls != 0) {
        SetLastError(trayFailure);
        if (failingCalls > 0 && --failingCalls == 0) trayFailure = 0;
        return FALSE;
    }
    auto entry = FindEntry(data->hWnd, data->uID);
    switch (message) {
        case NIM_ADD: {
            if (entry != entries.end()) {
                SetLastError(kErrorAlreadyExists);
                return FALSE;
            }
            TrayEntry added;
            added.window = data->hWnd;
            added.id = data->uID;
            Apply(added, *data);
            entries.push_back(added);
            WriteChangeEvents("add", entries.back(), *data);
            return TRUE;
        }
        case NIM_MODIFY:
            if (entry == entries.end()) break;
            Apply(*entry, *data);
            WriteChangeEvents("modify", *entry, *data);
            return TRUE;
        case NIM_DELETE:
            if (entry == entries.end()) break;
            WriteEvent("tray delete " + std::to_string(entry->id));
            entries.erase(entry);
            return TRUE;
        case kSetVersion:
            if (entry == entries.end()) break;
            return TRUE;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
    }
    SetLastError(kErrorNotFound);
    return FALSE;
}
