#pragma once

#include "com_object.h"
#include "com_ref.h"
#include "module_objects.h"

// The simulator's COM objects: each is counted as a module object while it
// lives, so the server is not unloaded from under it.
template <class Interface>
class CComObjectBase : public CComObject<Interface> {
protected:
    CComObjectBase() { ModuleObjectCreated(); }
    ~CComObjectBase() override { ModuleObjectDestroyed(); }
};
