#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What tray_user does, step by step, to the window of the tray program.
enum class StepKind {
    Find,         // wait until the window exists
    Post,         // a tray callback message carrying a mouse message
    Command,      // WM_COMMAND, as a chosen menu item sends it
    Key,          // a key pressed and released while the window has focus
    Sleep,        // let the program's timers run
    WaitGone,     // wait until the window's process has ended
    Run,          // start a program and wait until it ends
    CheckHidden,  // the window is neither visible nor on the task bar
};

struct Step {
    StepKind kind;
    std::string word;  // as typed, for the report
    UINT value = 0;    // mouse message, command id, virtual key or milliseconds
    std::string path;  // the program of a Run step
};

struct TrayScript {
    std::string caption = "Lodestar";
    std::string desktop;  // empty: the desktop tray_user was started in
    std::string reportPath;
    DWORD timeoutMs = 10000;
    std::vector<Step> steps;
};

extern const char kTrayUserUsage[];

// Reads the command line (without the program name). On a mistake returns
// false and says why in `error`.
bool ParseTrayScript(const std::vector<std::string>& args, TrayScript& script, std::string& error);
