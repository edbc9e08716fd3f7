// Showing, hiding, moving and sizing windows. A window's visibility is its
// WS_VISIBLE style bit; the procedure decides through WM_WINDOWPOSCHANGING
// whether a show or hide really happens.
#include "desktop_errors.h"
#include "desktop_windows.h"

namespace {

constexpr LONG_PTR kMinimized = 0x20000000L;  // WS_MINIMIZE

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    desktop::Window* window = desktop::FindWindowState(hwnd);
    if (!window) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    // Showing a visible window or hiding a hidden one is no change.
    if (window->style & WS_VISIBLE)
        flags &= ~SWP_SHOWWINDOW;
    else
        flags &= ~SWP_HIDEWINDOW;

    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    window = desktop::FindWindowState(hwnd);
    if (!window) return FALSE;

    RECT& rect = window->rect;
    if (!(pos.flags & SWP_NOMOVE)) {
        rect = RECT{pos.x, pos.y, pos.x + (rect.right - rect.left), pos.y + (rect.bottom - rect.top)};
    }
    if (!(pos.flags & SWP_NOSIZE)) {
        rect.right = rect.left + pos.cx;
        rect.bottom = rect.top + pos.cy;
    }
    if (pos.flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) window->style &= ~static_cast<LONG_PTR>(WS_VISIBLE);
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command) {
    desktop::Window* window = desktop::FindWindowState(hwnd);
    if (!window) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    const BOOL wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == static_cast<bool>(wasVisible)) return wasVisible;

    SendMessageA(hwnd, WM_SHOWWINDOW, show, 0);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    const desktop::Window* window = desktop::FindWindowState(hwnd);
    return window && (window->style & WS_VISIBLE) != 0;
}

BOOL IsIconic(HWND hwnd) {
    const desktop::Window* window = desktop::FindWindowState(hwnd);
    return window && (window->style & kMinimized) != 0;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    const desktop::Window* window = desktop::FindWindowState(hwnd);
    if (!window) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    if (!rect) return FALSE;
    *rect = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return TRUE;
}
