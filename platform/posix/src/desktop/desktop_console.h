// Hooks into the console desktop: where its input commands come from, where
// its events go, and a look at the state behind them. Used by tests that
// drive the desktop in-process instead of through standard input and output.
#pragma once

#include <windows.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace desktop {

// The descriptor input commands are read from (standard input unless set);
// -1 reads none. The desktop never closes it. Setting it forgets any partly
// read line and the end of the previous input.
void SetInputFd(int fd);

// Where event lines (tray, menu, open, message) and error lines go; null
// restores standard output and standard error. Each line is flushed.
void SetEventOutput(std::ostream* events);
void SetErrorOutput(std::ostream* errors);

// Forgets every window, posted message, quit request, timer, tray entry, open
// menu and buffered input line, as if the program had just started. Icons and
// menus stay with their owners. Input and output settings are kept.
void ResetForTests();

// Makes the next `calls` Shell_NotifyIconA calls (every call for -1) fail
// with this last error and print nothing, as when the task bar is missing
// or hung; 0 restores it.
void SetTrayFailure(DWORD error, int calls = -1);

struct TrayEntryState {
    HWND window;
    UINT id;
    UINT callbackMessage;
    HICON icon;
    std::string tip;
};
// The tray entries in the order they were added.
std::vector<TrayEntryState> TrayEntries();

// Whether an icon handle came from LoadIconA/ExtractIconA and has not been
// destroyed. Does not touch the icon, so it is safe on a destroyed handle.
bool IconIsAlive(HICON icon);
// The icon's name as event lines print it ("app", "builtin:129",
// "file:<path>,<index>", "none" for null). The icon must be alive.
std::string IconName(HICON icon);

}  // namespace desktop
