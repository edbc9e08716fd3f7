// Popup menus: loaded from the embedded compiled resources, printed as a
// "menu" event line when tracked, and answered by a "choose" command while
// the menu's own loop keeps serving messages, input and timers.
#include "desktop_menus.h"

#include "desktop_errors.h"
#include "desktop_loop.h"
#include "desktop_output.h"
#include "desktop_queue.h"
#include "desktop_resources.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace desktop {
namespace {

constexpr UINT kLastKeyMessage = 0x0109;  // WM_KEYLAST

struct MenuObject;

struct MenuItem {
    MenuEntryKind kind;
    std::string text;
    UINT id;
    std::unique_ptr<MenuObject> popup;
};

struct MenuObject {
    std::vector<MenuItem> items;
};

// Builds the items at `depth` that start at `next`, with their popups.
std::unique_ptr<MenuObject> BuildMenu(const MenuResource& resource, std::size_t& next, int depth) {
    auto menu = std::make_unique<MenuObject>();
    while (next < resource.entryCount && resource.entries[next].depth == depth) {
        const MenuEntryResource& entry = resource.entries[next++];
        MenuItem item{entry.kind, entry.text ? entry.text : "", entry.id, nullptr};
        if (entry.kind == MenuEntryKind::Popup) item.popup = BuildMenu(resource, next, depth + 1);
        menu->items.push_back(std::move(item));
    }
    return menu;
}

// "text=id" for each command; a nested popup's commands as "popup>text=id".
void DescribeItems(const MenuObject& menu, const std::string& prefix, std::vector<std::string>& texts,
                   std::vector<UINT>& ids) {
    for (const MenuItem& item : menu.items) {
        if (item.kind == MenuEntryKind::Item) {
            texts.push_back(prefix + EscapeText(item.text) + "=" + std::to_string(item.id));
            ids.push_back(item.id);
        } else if (item.kind == MenuEntryKind::Popup && item.popup) {
            DescribeItems(*item.popup, prefix + EscapeText(item.text) + ">", texts, ids);
        }
    }
}

struct Tracking {
    bool open = false;
    HWND owner = nullptr;
    std::vector<UINT> ids;
    bool answered = false;
    std::optional<UINT> chosen;
};

Tracking tracking;

MenuObject* Object(HMENU menu) { return reinterpret_cast<MenuObject*>(menu); }

}  // namespace

std::string AnswerMenu(std::optional<UINT> itemId) {
    if (!tracking.open || tracking.answered) return "no menu is open";
    if (itemId && std::find(tracking.ids.begin(), tracking.ids.end(), *itemId) == tracking.ids.end())
        return "the menu has no item " + std::to_string(*itemId);
    tracking.answered = true;
    tracking.chosen = itemId;
    return {};
}

void ResetMenuTracking() { tracking = Tracking{}; }

}  // namespace desktop

HMENU LoadMenuA(HINSTANCE, LPCSTR menuName) {
    const desktop::MenuResource* resource = desktop::FindMenuResource(menuName);
    if (!resource) {
        SetLastError(desktop::kErrorResourceNameNotFound);
        return nullptr;
    }
    std::size_t next = 0;
    return reinterpret_cast<HMENU>(desktop::BuildMenu(*resource, next, 0).release());
}

HMENU GetSubMenu(HMENU menu, int position) {
    if (!menu || position < 0) return nullptr;
    auto& items = desktop::Object(menu)->items;
    if (static_cast<std::size_t>(position) >= items.size()) return nullptr;
    return reinterpret_cast<HMENU>(items[static_cast<std::size_t>(position)].popup.get());
}

BOOL DestroyMenu(HMENU menu) {
    if (!menu) {
        SetLastError(desktop::kErrorInvalidMenuHandle);
        return FALSE;
    }
    delete desktop::Object(menu);
    return TRUE;
}

// Differs from Windows: the choice comes from a "choose" input command.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int, int, int, HWND owner, const RECT*) {
    using desktop::tracking;
    if (!menu) {
        SetLastError(desktop::kErrorInvalidMenuHandle);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(desktop::kErrorInvalidWindowHandle);
        return FALSE;
    }
    if (tracking.open) {
        SetLastError(desktop::kErrorPopupAlreadyActive);
        return FALSE;
    }

    std::vector<std::string> texts;
    tracking = desktop::Tracking{true, owner, {}, false, std::nullopt};
    desktop::DescribeItems(*desktop::Object(menu), "", texts, tracking.ids);
    std::string line = "menu";
    for (std::size_t i = 0; i < texts.size(); ++i) line += (i == 0 ? " " : " | ") + texts[i];
    desktop::WriteEvent(line);

    // The menu's own loop: everything but the answer is dispatched as usual.
    MSG msg;
    for (;;) {
        const auto result = desktop::WaitForMessage(desktop::MessageFilter{}, &msg,
                                                    [] { return tracking.answered || !IsWindow(tracking.owner); });
        if (result == desktop::WaitResult::Stopped) break;
        if (result == desktop::WaitResult::Quit) {
            // The quit request ends the menu and stays for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        // Keys belong to the menu: Escape closes it, the others are ignored.
        if (msg.message >= WM_KEYDOWN && msg.message <= desktop::kLastKeyMessage) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) tracking.answered = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    const std::optional<UINT> chosen = tracking.chosen;
    tracking = desktop::Tracking{};

    if (flags & TPM_RETURNCMD) return chosen ? static_cast<BOOL>(*chosen) : 0;
    if (chosen && IsWindow(owner)) PostMessageA(owner, WM_COMMAND, *chosen, 0);
    // Without TPM_RETURNCMD a dismissed menu counts as success too.
    return TRUE;
}
