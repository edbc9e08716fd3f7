// Self-registration is deliberately refused. Registered for the Sensor API
// and Location API class ids, this DLL would replace the real platform for
// every program on the machine: never register it on a real Windows
// installation. Tests register it by hand in a throw-away Wine prefix.
#include <windows.h>
#include <olectl.h>

STDAPI DllRegisterServer() { return E_NOTIMPL; }

STDAPI DllUnregisterServer() { return E_NOTIMPL; }
