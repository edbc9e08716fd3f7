// Menu resources of the native build: the build compiles a resource script
// into a binary .res (see native_resources.cmake) that registers itself at
// start-up, and its MENU resources are read from it as LoadMenu reads them.
#pragma once

#include <windows.h>

#include <cstddef>

namespace desktop {

enum class MenuEntryKind { Item, Separator, Popup };

// One MENUITEM, MENUITEM SEPARATOR or POPUP; depth 0 is the menu's top level,
// and a popup's items follow it one level deeper. Texts are UTF-8.
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

// Adds the menus of a compiled resource file; returns false, adding nothing,
// when the data is not a well-formed .res. Returns a value so that generated
// code can register in a static initialiser.
bool RegisterResources(const unsigned char* data, std::size_t size);

// The menu that LoadMenuA(instance, name) names: an integer resource, "#123",
// or a name compared without regard to case. Null when none is registered.
const MenuResource* FindMenuResource(LPCSTR name);

}  // namespace desktop
