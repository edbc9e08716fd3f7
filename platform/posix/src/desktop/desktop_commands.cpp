// Input commands: each line is a verb and its argument.
//   tray <mouse>          the latest tray entry's callback message
//   tray balloonclick     a click on the latest tray entry's balloon
//   key return|space|escape   a key press for the active dialog
//   command <id>          WM_COMMAND for the active dialog
//   choose <id>|none      the answer to the open popup menu
//   explorer restart      the shell restarts and forgets the tray
//   session end           the user logs off
#include "desktop_commands.h"

#include "desktop_menus.h"
#include "desktop_output.h"
#include "desktop_session.h"
#include "desktop_tray.h"
#include "desktop_windows.h"

#include <shellapi.h>

#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace desktop {
namespace {

struct NamedValue {
    const char* name;
    UINT value;
};

constexpr NamedValue kMouseMessages[] = {
    {"lbuttondown", WM_LBUTTONDOWN}, {"lbuttonup", WM_LBUTTONUP}, {"lbuttondblclk", WM_LBUTTONDBLCLK},
    {"rbuttondown", WM_RBUTTONDOWN}, {"rbuttonup", WM_RBUTTONUP}, {"rbuttondblclk", WM_RBUTTONDBLCLK},
    {"balloonclick", NIN_BALLOONUSERCLICK},
};

// Virtual key and scan code of each key a user can press.
struct Key {
    const char* name;
    WPARAM virtualKey;
    LPARAM scanCode;
};
constexpr Key kKeys[] = {{"return", VK_RETURN, 0x1C}, {"space", VK_SPACE, 0x39}, {"escape", VK_ESCAPE, 0x01}};

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const auto start = line.find_first_not_of(" \t\r", pos);
        if (start == std::string_view::npos) break;
        auto end = line.find_first_of(" \t\r", start);
        if (end == std::string_view::npos) end = line.size();
        words.push_back(line.substr(start, end - start));
        pos = end;
    }
    return words;
}

std::optional<UINT> ParseDecimal(std::string_view text, UINT max) {
    UINT value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
    return value;
}

void TrayCommand(std::string_view argument) {
    std::optional<UINT> mouse = ParseDecimal(argument, 0xFFFF);
    for (const NamedValue& named : kMouseMessages)
        if (argument == named.name) mouse = named.value;
    if (!mouse) return WriteError("tray: unknown mouse message: " + QuoteInput(argument));

    const TrayEntry* entry = LatestTrayEntry();
    if (!entry) return WriteError("tray: there is no tray entry");
    if (!entry->callbackMessage) return WriteError("tray: the tray entry has no callback message");
    // Only a balloon that is shown can be clicked; the click closes it.
    if (*mouse == NIN_BALLOONUSERCLICK && !CloseLatestBalloon()) return WriteError("tray: no balloon is shown");
    if (!PostMessageA(entry->window, entry->callbackMessage, entry->id, static_cast<LPARAM>(*mouse)))
        WriteError("tray: the tray entry's window is gone");
}

void KeyCommand(std::string_view argument) {
    for (const Key& key : kKeys) {
        if (argument != key.name) continue;
        HWND dialog = ActiveDialog();
        if (!dialog) return WriteError("key: there is no dialog");
        PostMessageA(dialog, WM_KEYDOWN, key.virtualKey, key.scanCode << 16 | 1);
        return;
    }
    WriteError("key: expected return, space or escape, not " + QuoteInput(argument));
}

void CommandCommand(std::string_view argument) {
    const std::optional<UINT> id = ParseDecimal(argument, 0xFFFF);
    if (!id) return WriteError("command: expected a command id from 0 to 65535, not " + QuoteInput(argument));
    HWND dialog = ActiveDialog();
    if (!dialog) return WriteError("command: there is no dialog");
    PostMessageA(dialog, WM_COMMAND, *id, 0);
}

void ChooseCommand(std::string_view argument) {
    std::optional<UINT> id;
    if (argument != "none") {
        id = ParseDecimal(argument, 0xFFFF);
        if (!id) return WriteError("choose: expected an item id or none, not " + QuoteInput(argument));
    }
    const std::string problem = AnswerMenu(id);
    if (!problem.empty()) WriteError("choose: " + problem);
}

void ExplorerCommand(std::string_view argument) {
    if (argument != "restart") return WriteError("explorer: expected restart, not " + QuoteInput(argument));
    RestartExplorer();
}

void SessionCommand(std::string_view argument) {
    if (argument != "end") return WriteError("session: expected end, not " + QuoteInput(argument));
    EndSession();
}

struct Verb {
    const char* name;
    void (*run)(std::string_view argument);
};
constexpr Verb kVerbs[] = {
    {"tray", TrayCommand},         {"key", KeyCommand},         {"command", CommandCommand},
    {"choose", ChooseCommand},     {"explorer", ExplorerCommand}, {"session", SessionCommand}};

}  // namespace

void ExecuteCommand(std::string_view line) {
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty()) return;
    for (const Verb& verb : kVerbs) {
        if (words[0] != verb.name) continue;
        if (words.size() != 2) return WriteError(std::string(verb.name) + ": expected one argument");
        return verb.run(words[1]);
    }
    WriteError("unknown command: " + QuoteInput(words[0]));
}

}  // namespace desktop
