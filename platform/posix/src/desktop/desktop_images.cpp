// LoadImageA for the icons among the program's resources. The console
// desktop has one picture per icon resource, whatever the size asked for,
// so it answers as LoadIconA does.
#include <windows.h>

#include "desktop_errors.h"

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int, int, UINT flags) {
    if (type != IMAGE_ICON || (flags & LR_LOADFROMFILE) != 0) {
        SetLastError(desktop::kErrorResourceNameNotFound);
        return nullptr;
    }
    return LoadIconA(instance, name);
}
