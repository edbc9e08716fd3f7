#include "builtin_icons.h"

#include <afxwin.h>

#include <map>

HICON BuiltinTrayIcon(UINT resourceId) {
    static std::map<UINT, HICON> loaded;  // kept for the whole run
    HICON& icon = loaded[resourceId];
    if (!icon) {
        icon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR));
    }
    return icon;
}
