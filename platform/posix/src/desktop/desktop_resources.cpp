// The registry of resource tables generated from resource scripts.
#include "desktop_resources.h"

#include <cstdlib>
#include <strings.h>
#include <vector>

namespace desktop {
namespace {

// Constructed on first use: tables register themselves during static
// initialisation, in no particular order.
std::vector<ResourceTable>& Tables() {
    static std::vector<ResourceTable> tables;
    return tables;
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

bool RegisterResources(const ResourceTable& table) {
    Tables().push_back(table);
    return true;
}

const MenuResource* FindMenuResource(LPCSTR name) {
    if (!name) return nullptr;
    UINT id = 0;
    const bool byId = IS_INTRESOURCE(name) || NumberedName(name, id);
    if (IS_INTRESOURCE(name)) id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    for (const ResourceTable& table : Tables()) {
        for (std::size_t i = 0; i < table.menuCount; ++i) {
            const MenuResource& menu = table.menus[i];
            if (byId ? (!menu.name && menu.id == id) : (menu.name && strcasecmp(menu.name, name) == 0))
                return &menu;
        }
    }
    return nullptr;
}

}  // namespace desktop
