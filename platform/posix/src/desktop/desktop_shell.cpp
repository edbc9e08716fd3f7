// The shell's "open" verb and message boxes: printed as event lines.
#include "desktop_output.h"

#include <shellapi.h>

#include <string>
#include <strings.h>

namespace {

constexpr INT_PTR kShellSuccess = 42;  // any value above 32 means success
constexpr INT_PTR kFileNotFound = 2;  // SE_ERR_FNF
constexpr INT_PTR kNoAssociation = 31;  // SE_ERR_NOASSOC

HINSTANCE ShellResult(INT_PTR code) { return reinterpret_cast<HINSTANCE>(code); }

}  // namespace

// A null operation is the default verb, which is "open".
// Differs from Windows: prints an "open" event line instead of starting a program.
HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT) {
    if (operation && strcasecmp(operation, "open") != 0) return ShellResult(kNoAssociation);
    if (!file || !*file) return ShellResult(kFileNotFound);
    desktop::WriteEvent("open " + desktop::EscapeText(file));
    return ShellResult(kShellSuccess);
}

// Differs from Windows: prints a "message" event line and returns IDOK at once.
int MessageBoxA(HWND, LPCSTR text, LPCSTR, UINT) {
    desktop::WriteEvent("message " + desktop::EscapeText(text ? text : ""));
    return IDOK;
}
