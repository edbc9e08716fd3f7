// The screen: metrics, cursor, foreground window and painting. Nothing is
// drawn on a console, but the answers are those of a 1024x768 screen.
#include "desktop_errors.h"
#include "desktop_icons.h"
#include "desktop_windows.h"

namespace {

constexpr POINT kCursor{1000, 740};  // near the notification area
int screenDc;  // its address is the one device context

HDC ScreenDc() { return reinterpret_cast<HDC>(&screenDc); }

}  // namespace

// Differs from Windows: answers for a fixed 1024x768 screen.
int GetSystemMetrics(int index) {
    switch (index) {
        case 0: return 1024;  // SM_CXSCREEN
        case 1: return 768;   // SM_CYSCREEN
        case SM_CXICON:
        case SM_CYICON: return 32;
        case 49:  // SM_CXSMICON
        case 50: return 16;  // SM_CYSMICON
        default: return 0;
    }
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = kCursor;
    return TRUE;
}

BOOL SetForegroundWindow(HWND hwnd) { return IsWindow(hwnd); }

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    if (!paint || !GetClientRect(hwnd, &paint->rcPaint)) return nullptr;
    paint->hdc = ScreenDc();
    paint->fErase = FALSE;
    paint->fRestore = FALSE;
    paint->fIncUpdate = FALSE;
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) { return IsWindow(hwnd) && paint != nullptr; }

BOOL DrawIcon(HDC dc, int, int, HICON icon) {
    if (dc != ScreenDc()) return FALSE;
    if (!desktop::IconIsUsable(icon)) {
        SetLastError(desktop::kErrorInvalidIconHandle);
        return FALSE;
    }
    return TRUE;
}
