#pragma once

#include <windows.h>

#include <atomic>
#include <initializer_list>

#include "com_ref.h"
#include "module_objects.h"

// Reference counting shared by the simulator's COM objects. An object starts
// with the one reference of whoever created it and deletes itself when the
// last one goes. The counter is atomic because the server is registered for
// both threading models.
template <class Interface>
class CComObjectBase : public Interface {
public:
    CComObjectBase(const CComObjectBase&) = delete;
    CComObjectBase& operator=(const CComObjectBase&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG remaining = --references_;
        if (remaining == 0) delete this;
        return remaining;
    }

protected:
    CComObjectBase() { ModuleObjectCreated(); }
    virtual ~CComObjectBase() { ModuleObjectDestroyed(); }

    // QueryInterface for an object whose interfaces form one chain: any id
    // in `accepted` yields this object with a new reference.
    HRESULT AnswerQuery(REFIID iid, void** object, std::initializer_list<const IID*> accepted) {
        if (object == nullptr) return E_POINTER;
        for (const IID* id : accepted) {
            if (IsEqualIID(iid, *id)) {
                *object = static_cast<Interface*>(this);
                AddRef();
                return S_OK;
            }
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    std::atomic<ULONG> references_{1};
};
