#pragma once

#include <windows.h>

#include <atomic>
#include <initializer_list>

// Reference counting and QueryInterface for a COM object of ours. It starts
// with the one reference of whoever created it and deletes itself when the
// last one goes. The count is atomic so that objects of a server registered
// for both threading models may be called from any thread.
template <class Interface>
class CComObject : public Interface {
public:
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refCount; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG remaining = --m_refCount;
        if (remaining == 0) delete this;
        return remaining;
    }

protected:
    CComObject() = default;
    virtual ~CComObject() = default;

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
    std::atomic<ULONG> m_refCount{1};
};
