// The window registry of the console desktop. Every window is a dialog:
// its procedure is the dialog procedure given to CreateDialogParamA.
#pragma once

#include <windows.h>

#include <vector>

namespace desktop {

struct Window {
    DLGPROC dialogProc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR dialogUser = 0;
    LONG_PTR messageResult = 0;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    RECT rect{};
    bool destroying = false;
};

// Registers a new window; handles are never reused.
HWND CreateWindowState(const Window& initial);
// The window's state, or null for a handle that is not a live window. The
// pointer is valid only until the next call into a window procedure.
Window* FindWindowState(HWND hwnd);
// The most recently created window that still exists, or null.
HWND ActiveDialog();

// Runs the window's procedure with dialog semantics: the dialog procedure
// first, default processing when it returns FALSE.
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Every window that exists, oldest first.
std::vector<HWND> WindowHandles();

void ResetWindows();

}  // namespace desktop
