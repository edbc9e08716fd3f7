// Dialog creation and the keyboard interface of dialogs.
#include "desktop_errors.h"
#include "desktop_session.h"
#include "desktop_windows.h"

namespace {

// Every template is shown as a small modal frame of 317x44 dialog units
// that is visible and has a task-bar button, whatever its id.
constexpr LONG_PTR kTemplateStyle = static_cast<LONG_PTR>(0x80000000UL) /* WS_POPUP */ |
                                    0x00C00000L /* WS_CAPTION */ | 0x00080000L /* WS_SYSMENU */ |
                                    0x80L /* DS_MODALFRAME */ | WS_VISIBLE;
constexpr LONG_PTR kTemplateExStyle = WS_EX_APPWINDOW;
constexpr RECT kTemplateRect{0, 0, 476, 72};

}  // namespace

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
    if (parent && !IsWindow(parent)) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return nullptr;
    }
    // A program with a window takes part in the session from now on.
    desktop::WatchSessionSignals();
    desktop::Window initial;
    initial.dialogProc = dialogProc;
    initial.instance = instance;
    initial.style = kTemplateStyle & ~static_cast<LONG_PTR>(WS_VISIBLE);
    initial.exStyle = kTemplateExStyle;
    initial.rect = kTemplateRect;
    HWND hwnd = desktop::CreateWindowState(initial);

    desktop::CallWindowProcedure(hwnd, WM_INITDIALOG, 0, initParam);
    if (IsWindow(hwnd) && (kTemplateStyle & WS_VISIBLE) != 0) ShowWindow(hwnd, SW_SHOWNORMAL);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (!msg || !dialog || msg->hwnd != dialog || !IsWindow(dialog)) return FALSE;
    if (msg->message != WM_KEYDOWN) return FALSE;
    switch (msg->wParam) {
        case VK_ESCAPE:
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        case VK_RETURN:
        case VK_SPACE:  // presses the focused button, which is the default one
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            return TRUE;
        default:
            return FALSE;
    }
}
