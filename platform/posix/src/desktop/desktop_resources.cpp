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

// Little-endian reads within [at, end). A read past the end fails the
// reader and gives 0, which ends every loop below.
struct Reader {
    const unsigned char* data;
    std::size_t at;
    std::size_t end;
    bool ok = true;

    unsigned Word() {
        ok = ok && end - at >= 2;
        if (!ok) return 0;
        at += 2;
        return data[at - 2] | data[at - 1] << 8;
    }
    std::size_t Dword() {
        const unsigned low = Word();
        return low | std::size_t{Word()} << 16;
    }
    // Zero-ended UTF-16 text from `unit` on, as UTF-8.
    std::string Text(unsigned unit) {
        std::wstring text;
        for (; unit != 0; unit = Word()) text.push_back(static_cast<wchar_t>(unit));
        return wide_text::Narrow(text.c_str());
    }
    // A resource type or name: 0xFFFF and a number, or a string (then the
    // result, empty for a number).
    std::string NameOrId(unsigned& id) {
        const unsigned first = Word();
        if (first != 0xFFFF) return Text(first);
        id = Word();
        return {};
    }
};

// The items of one menu level, up to the one marked MF_END.
void ReadItems(Reader& reader, int depth, StoredMenu& menu) {
    unsigned flags = 0;
    do {
        flags = reader.Word();
        const bool popup = flags & kPopup;
        const UINT id = popup ? 0 : reader.Word();
        const std::string text = reader.Text(reader.Word());
        if (!reader.ok || depth > kMaxDepth) {
            reader.ok = false;
            return;
        }
        const bool separator = !popup && id == 0 && text.empty();
        const MenuEntryKind kind = popup ? MenuEntryKind::Popup
                                         : separator ? MenuEntryKind::Separator : MenuEntryKind::Item;
        menu.entries.push_back({depth, kind, separator ? nullptr : menu.texts.emplace_back(text).c_str(), id});
        if (popup) ReadItems(reader, depth + 1, menu);
    } while (reader.ok && !(flags & kEnd));
}

// A MENU template after its version: the offset of the items, then the
// items, none for an empty menu.
bool ReadMenu(Reader reader, StoredMenu& menu) {
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
    for (std::size_t start = 0; start < size;) {
        Reader header{data, start, size};
        const std::size_t dataSize = header.Dword();
        const std::size_t headerSize = header.Dword();
        if (!header.ok || headerSize < 8 || headerSize > size - start || dataSize > size - start - headerSize)
            return false;
        header.end = start + headerSize;
        unsigned type = 0;
        unsigned id = 0;
        const bool isMenu = header.NameOrId(type).empty() && type == kMenuType;
        std::string name = header.NameOrId(id);
        if (!header.ok) return false;
        const std::size_t body = start + headerSize;
        Reader menuReader{data, body, body + dataSize};
        // Only version 0 is read: LoadMenuA does not find MENUEX templates.
        if (isMenu && menuReader.Word() == 0) {
            StoredMenu& menu = menus.emplace_back();
            menu.name = std::move(name);
            if (!ReadMenu(menuReader, menu)) return false;
            const bool named = !menu.name.empty();
            menu.resource = {named ? 0 : id, named ? menu.name.c_str() : nullptr, menu.entries.data(),
                             menu.entries.size()};
        }
        start = std::min(size, (body + dataSize + 3) & ~std::size_t{3});  // records are DWORD-aligned
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
