// The window registry, message sending, default processing and the
// per-window values of GetWindowLongPtrA.
#include "desktop_windows.h"

#include "desktop_errors.h"
#include "desktop_timers.h"

#include <map>
#include <memory>

namespace desktop {
namespace {

constexpr UINT kGetIcon = 0x007F;  // WM_GETICON
constexpr WPARAM kIconSmall2 = 2;  // ICON_SMALL2
constexpr int kDialogProcIndex = 8;  // DWLP_DLGPROC
constexpr int kInstanceIndex = -6;  // GWLP_HINSTANCE

// Handles count up from here and are never reused, so a destroyed window's
// handle stays invalid.
UINT_PTR nextHandle = 0x10010;
std::map<HWND, std::unique_ptr<Window>> windows;

// Messages whose result a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool DialogReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case 0x002E:  // WM_VKEYTOITEM
        case 0x002F:  // WM_CHARTOITEM
        case 0x0039:  // WM_COMPAREITEM
            return true;
        default:
            return message >= 0x0132 && message <= 0x0138;  // WM_CTLCOLOR*
    }
}

LRESULT DefaultDialogProcessing(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // A dialog closes as if its Cancel button was pressed.
    if (message == WM_CLOSE) {
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LONG_PTR* WindowValue(Window& window, int index) {
    switch (index) {
        case GWL_STYLE: return &window.style;
        case GWL_EXSTYLE: return &window.exStyle;
        case GWLP_USERDATA: return &window.userData;
        case DWLP_MSGRESULT: return &window.messageResult;
        case DWLP_USER: return &window.dialogUser;
        default: return nullptr;
    }
}

}  // namespace

HWND CreateWindowState(const Window& initial) {
    auto hwnd = reinterpret_cast<HWND>(nextHandle);
    nextHandle += 4;
    windows.emplace(hwnd, std::make_unique<Window>(initial));
    return hwnd;
}

Window* FindWindowState(HWND hwnd) {
    auto found = windows.find(hwnd);
    return found == windows.end() ? nullptr : found->second.get();
}

HWND ActiveDialog() { return windows.empty() ? nullptr : windows.rbegin()->first; }

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowState(hwnd);
    if (!window) return 0;
    DLGPROC proc = window->dialogProc;
    window->messageResult = 0;
    const INT_PTR handled = proc ? proc(hwnd, message, wParam, lParam) : FALSE;
    // The procedure may have destroyed the window: look it up again.
    if (!handled) return FindWindowState(hwnd) ? DefaultDialogProcessing(hwnd, message, wParam, lParam) : 0;
    if (DialogReturnsResultDirectly(message)) return handled;
    window = FindWindowState(hwnd);
    return window ? window->messageResult : 0;
}

std::vector<HWND> WindowHandles() {
    std::vector<HWND> handles;
    for (const auto& entry : windows) handles.push_back(entry.first);
    return handles;
}

void ResetWindows() { windows.clear(); }

}  // namespace desktop

using desktop::FindWindowState;
using desktop::Window;

BOOL IsWindow(HWND hwnd) { return FindWindowState(hwnd) != nullptr; }

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!FindWindowState(hwnd)) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return 0;
    }
    return desktop::CallWindowProcedure(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowState(hwnd);
    if (!window) return 0;
    switch (message) {
        case WM_SETICON: {
            HICON& slot = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case desktop::kGetIcon: {
            HICON icon = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
            if (!icon && wParam == desktop::kIconSmall2) icon = window->bigIcon;
            return reinterpret_cast<LRESULT>(icon);
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_ERASEBKGND:
        case WM_ICONERASEBKGND:
            return 1;
        default:
            return 0;
    }
}

BOOL DestroyWindow(HWND hwnd) {
    Window* window = FindWindowState(hwnd);
    if (!window || window->destroying) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    window->destroying = true;
    desktop::CallWindowProcedure(hwnd, WM_DESTROY, 0, 0);
    desktop::KillWindowTimers(hwnd);
    desktop::windows.erase(hwnd);
    return TRUE;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    Window* window = FindWindowState(hwnd);
    if (!window) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return 0;
    }
    if (index == desktop::kDialogProcIndex) return reinterpret_cast<LONG_PTR>(window->dialogProc);
    if (index == desktop::kInstanceIndex) return reinterpret_cast<LONG_PTR>(window->instance);
    LONG_PTR* value = desktop::WindowValue(*window, index);
    if (!value) {
        SetLastError(desktop::kErrorInvalidIndex);
        return 0;
    }
    return *value;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR newValue) {
    Window* window = FindWindowState(hwnd);
    if (!window) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return 0;
    }
    if (index == desktop::kDialogProcIndex) {
        auto previous = reinterpret_cast<LONG_PTR>(window->dialogProc);
        window->dialogProc = reinterpret_cast<DLGPROC>(newValue);
        return previous;
    }
    LONG_PTR* value = desktop::WindowValue(*window, index);
    if (!value) {
        SetLastError(desktop::kErrorInvalidIndex);
        return 0;
    }
    LONG_PTR previous = *value;
    *value = newValue;
    return previous;
}
