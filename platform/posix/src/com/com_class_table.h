// The class objects registered with CoRegisterClassObject.
#pragma once

#include <objbase.h>

// The class factory registered for the class in one of the given contexts,
// with a reference for the caller; REGDB_E_CLASSNOTREG when there is none.
HRESULT GetRegisteredClassFactory(REFCLSID clsid, DWORD context, IClassFactory** factory);
