// CoCreateInstance: a class object registered in this process first, then
// an in-process server linked into the executable, found through its
// DllGetClassObject if there is one.
#include <objbase.h>

#include "com_apartment.h"
#include "com_class_table.h"

extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) __attribute__((weak));

namespace {

HRESULT GetLinkedClassFactory(REFCLSID clsid, DWORD context, IClassFactory** factory) {
    *factory = nullptr;
    if (!DllGetClassObject || (context & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)) == 0)
        return REGDB_E_CLASSNOTREG;
    const HRESULT result = DllGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory));
    if (FAILED(result)) {
        *factory = nullptr;
        // A server that does not serve this class is, to the caller, no server at all.
        return result == CLASS_E_CLASSNOTAVAILABLE ? REGDB_E_CLASSNOTREG : result;
    }
    return *factory ? S_OK : E_UNEXPECTED;
}

}  // namespace

// Differs from Windows: no registry: only classes registered in the process or linked into the executable.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!ComUsableOnThisThread()) return CO_E_NOTINITIALIZED;

    IClassFactory* factory = nullptr;
    HRESULT result = GetRegisteredClassFactory(clsid, context, &factory);
    if (result == REGDB_E_CLASSNOTREG) result = GetLinkedClassFactory(clsid, context, &factory);
    if (FAILED(result)) return result;

    result = factory->CreateInstance(outer, riid, object);
    factory->Release();
    if (FAILED(result)) *object = nullptr;
    return result;
}
