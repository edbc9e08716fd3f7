// The entry points through which COM finds the simulator: a registered
// in-process server on Windows, or linked into the executable where the POSIX
// stand-in looks for DllGetClassObject.
#include <windows.h>

#include "module_objects.h"
#include "sim_class_factory.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    return GetSimClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow() { return ModuleCanUnload() ? S_OK : S_FALSE; }
