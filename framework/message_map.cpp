#include "message_map.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const UINT commandId = LOWORD(wParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->thunk; ++entry) {
            const UINT entryMessage = entry->registeredMessage ? *entry->registeredMessage : entry->message;
            if (entryMessage != message || entryMessage == 0) continue;
            if (message == WM_COMMAND && entry->id != commandId) continue;
            *result = entry->thunk(this, wParam, lParam);
            return true;
        }
    }
    return false;
}
