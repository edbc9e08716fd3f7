// Menu resources of the native build. The build turns a resource script into
// a table (see native_resources.cmake) that registers itself at start-up.
#pragma once

#include <windows.h>

#include <cstddef>

namespace desktop {

enum class MenuEntryKind { Item, Separator, Popup };

// One MENUITEM, MENUITEM SEPARATOR or POPUP line; depth 0 is the menu's top
// level, and a popup's items follow it one level deeper.
struct MenuEntryResource {
    int depth;
    MenuEntryKind kind;
    const char* text;
    UINT id;
};

// A MENU resource named by number (name null) or by name.
struct MenuResource {
    UINT id;
    const char* name;
    const MenuEntryResource* entries;
    std::size_t entryCount;
};

struct ResourceTable {
    const MenuResource* menus;
    std::size_t menuCount;
};

// Adds a table; returns true so that a generated table can register itself
// in a static initialiser.
bool RegisterResources(const ResourceTable& table);

// The menu that LoadMenuA(instance, name) names: an integer resource, "#123",
// or a name compared without regard to case. Null when none is registered.
const MenuResource* FindMenuResource(LPCSTR name);

}  // namespace desktop
