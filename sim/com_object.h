#pragma once

#include <windows.h>

#include <atomic>
#include <initializer_list>
#include <utility>

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

// Holds one reference to a COM object and releases it when it goes.
template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already owns.
    static ComRef Adopt(T* object) {
        ComRef ref;
        ref.object_ = object;
        return ref;
    }
    // Adds a reference of its own.
    static ComRef Share(T* object) {
        if (object != nullptr) object->AddRef();
        return Adopt(object);
    }

    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef& other) : object_(other.object_) {
        if (object_ != nullptr) object_->AddRef();
    }
    ComRef& operator=(const ComRef& other) {
        if (this != &other) *this = Share(other.object_);
        return *this;
    }
    ~ComRef() { Reset(); }

    void Reset() {
        if (T* old = std::exchange(object_, nullptr)) old->Release();
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(object_, nullptr); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
