#include "com_class_table.h"

#include <mutex>
#include <vector>

#include "com_apartment.h"

namespace {

constexpr HRESULT kObjectNotRegistered = static_cast<HRESULT>(0x800401FBL);  // CO_E_OBJNOTREG

struct Registration {
    CLSID clsid;
    IUnknown* object;
    DWORD context;
    DWORD cookie;
};

struct ClassTable {
    // Recursive: a class object's QueryInterface may itself use the table.
    std::recursive_mutex lock;
    std::vector<Registration> registrations;
    DWORD lastCookie = 0;
};

// Never destroyed, so that objects revoking their registration from static
// destructors still find it.
ClassTable& Table() {
    static auto* table = new ClassTable;
    return *table;
}

}  // namespace

HRESULT CoRegisterClassObject(REFCLSID clsid, LPUNKNOWN object, DWORD context, DWORD, LPDWORD cookie) {
    if (!object || !cookie) return E_INVALIDARG;
    if (!ComUsableOnThisThread()) return CO_E_NOTINITIALIZED;
    object->AddRef();
    ClassTable& table = Table();
    std::lock_guard<std::recursive_mutex> guard(table.lock);
    *cookie = ++table.lastCookie;
    table.registrations.push_back({clsid, object, context, *cookie});
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    IUnknown* object = nullptr;
    {
        ClassTable& table = Table();
        std::lock_guard<std::recursive_mutex> guard(table.lock);
        for (auto it = table.registrations.begin(); it != table.registrations.end(); ++it) {
            if (it->cookie == cookie) {
                object = it->object;
                table.registrations.erase(it);
                break;
            }
        }
    }
    if (!object) return kObjectNotRegistered;
    object->Release();
    return S_OK;
}

HRESULT GetRegisteredClassFactory(REFCLSID clsid, DWORD context, IClassFactory** factory) {
    *factory = nullptr;
    ClassTable& table = Table();
    std::lock_guard<std::recursive_mutex> guard(table.lock);
    for (const Registration& registration : table.registrations) {
        if (registration.clsid == clsid && (registration.context & context) != 0)
            return registration.object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(factory));
    }
    return REGDB_E_CLASSNOTREG;
}
