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
        ref.m_object = object;
        return ref;
    }
    // Adds a reference of its own.
    static ComRef Share(T* object) {
        if (object != nullptr) object->AddRef();
        return Adopt(object);
    }

    ComRef(ComRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef& other) : m_object(other.m_object) {
        if (m_object != nullptr) m_object->AddRef();
    }
    ComRef& operator=(const ComRef& other) {
        if (this != &other) *this = Share(other.m_object);
        return *this;
    }
    ~ComRef() { Reset(); }

    void Reset() {
        if (T* old = std::exchange(m_object, nullptr)) old->Release();
    }
    // Hands the reference to the caller.
    T* Detach() { return std::exchange(m_object, nullptr); }

    // The address to receive a new reference; any old one is released first.
    T** Put() {
        Reset();
        return &m_object;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};
