#pragma once

#include <utility>

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

    // The address to receive a new reference; any old one is released first.
    T** Put() {
        Reset();
        return &object_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};
