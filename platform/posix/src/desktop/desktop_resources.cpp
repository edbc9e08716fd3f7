// The menus of compiled resource files (.res), read as Windows reads them:
// a run of DWORD-aligned resource records, and for RT_MENU the standard menu
// template. Every read is bounded by the data it belongs to.
#include "desktop_resources.h"

#include "text/wide_text.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <list>
#include <string>
#include <strings.h>
#include <vector>

namespace desktop {
namespace {

constexpr unsigned kMenuType = 4;  // RT_MENU
constexpr unsigned kPopup = 0x10;  // MF_POPUP
constexpr unsigned kEnd = 0x80;    // MF_END
constexpr int kMaxDepth = 32;

// A menu and the storage its entries point into.
struct StoredMenu {
    std::string name;
    std::deque<std::string> texts;  // a deque keeps its strings in place as it grows
    std::vector<MenuEntryResource> entries;
    MenuResource resource{};
};

// Constructed on first use: resources register during static
// initialisation, in no particular order. A list, so menus never move.
std::list<StoredMenu>& Menus() {
    static std::list<StoredMenu> menus;
    return menus;
}

// Little-endian reads within [at, end); a read past the end fails the
// reader, which then reads zeros, so every loop below comes to its end.
struct Reader {
    const unsigned char* data;
    std::size_t at;
    std::size_t end;
    bool ok = true;

    unsigned Take(std::size_t count) {
        if (!ok || end - at < count) {
            ok = false;
            return 0;
        }
        unsigned value = 0;
        for (std::size_t i = count; i-- > 0;) value = value << 8 | data[at + i];
        at += count;
        return value;
    }
    unsigned Word() { return Take(2); }
    unsigned Dword() { return Take(4); }
    void Align() { at = std::min(end, (at + 3) & ~std::size_t{3}); }
    std::string Text() {
        std::wstring text;
        while (const unsigned unit = Word()) text.push_back(static_cast<wchar_t>(unit));
        return wide_text::Narrow(text.c_str());
    }
    // A resource type or name: 0xFFFF and a number, or a string.
    void NameOrId(unsigned& id, std::string& name) {
        if (end - at >= 2 && data[at] == 0xFF && data[at + 1] == 0xFF) {
            Word();
            id = Word();
        } else {
            name = Text();
        }
    }
};

// The items of one menu level, up to the one marked MF_END.
void ReadItems(Reader& reader, int depth, StoredMenu& menu) {
    unsigned flags = 0;
    do {
        flags = reader.Word();
        const bool popup = flags & kPopup;
        const UINT id = popup ? 0 : reader.Word();
        std::string text = reader.Text();
        if (!reader.ok || depth > kMaxDepth) {
            reader.ok = false;
            return;
        }
        const MenuEntryKind kind = popup                        ? MenuEntryKind::Popup
                                   : id == 0 && text.empty() ? MenuEntryKind::Separator
                                                             : MenuEntryKind::Item;
        const char* stored = kind == MenuEntryKind::Separator ? nullptr : menu.texts.emplace_back(text).c_str();
        menu.entries.push_back({depth, kind, stored, id});
        if (popup) ReadItems(reader, depth + 1, menu);
    } while (reader.ok && !(flags & kEnd));
}

// A MENU template: its header (version 0; MENUEX templates are not read),
// then the items, none for an empty menu.
bool ReadMenu(Reader reader, StoredMenu& menu) {
    if (reader.Word() != 0) return false;
    const std::size_t offset = reader.Word();
    reader.at += std::min(offset, reader.end - reader.at);
    if (reader.ok && reader.at < reader.end) ReadItems(reader, 0, menu);
    return reader.ok;
}

// "#123" names resource 123, as on Windows.
bool NumberedName(const char* name, UINT& id) {
    if (name[0] != '#' || name[1] == '\0') return false;
    char* end = nullptr;
    const unsigned long value = std::strtoul(name + 1, &end, 10);
    if (*end != '\0' || value > 0xFFFF) return false;
    id = static_cast<UINT>(value);
    return true;
}

}  // namespace

bool RegisterResources(const unsigned char* data, std::size_t size) {
    std::list<StoredMenu> menus;
    Reader file{data, 0, size};
    while (file.ok && file.at < size) {
        const std::size_t start = file.at;
        const std::size_t dataSize = file.Dword();
        const std::size_t headerSize = file.Dword();
        if (!file.ok || headerSize < 8 || headerSize > size - start || dataSize > size - start - headerSize)
            return false;
        Reader header{data, file.at, start + headerSize};
        unsigned type = 0;
        unsigned id = 0;
        std::string typeName;
        std::string name;
        header.NameOrId(type, typeName);
        header.NameOrId(id, name);
        if (!header.ok) return false;
        if (typeName.empty() && type == kMenuType) {
            StoredMenu& menu = menus.emplace_back();
            menu.name = name;
            if (!ReadMenu(Reader{data, start + headerSize, start + headerSize + dataSize}, menu)) return false;
            menu.resource = {name.empty() ? id : 0, name.empty() ? nullptr : menu.name.c_str(),
                             menu.entries.data(), menu.entries.size()};
        }
        file.at = start + headerSize + dataSize;
        file.Align();
    }
    Menus().splice(Menus().end(), menus);
    return true;
}

const MenuResource* FindMenuResource(LPCSTR name) {
    if (!name) return nullptr;
    UINT id = 0;
    const bool byId = IS_INTRESOURCE(name) || NumberedName(name, id);
    if (IS_INTRESOURCE(name)) id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    for (const StoredMenu& stored : Menus()) {
        const MenuResource& menu = stored.resource;
        if (byId ? (!menu.name && menu.id == id) : (menu.name && strcasecmp(menu.name, name) == 0)) return &menu;
    }
    return nullptr;
}

}  // namespace desktop
