#include "kernel_event.h"

#include <sys/eventfd.h>
#include <unistd.h>

EventObject::EventObject(bool manualReset, bool signalled)
    : m_manualReset(manualReset), m_signalled(signalled), m_fd(eventfd(signalled ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventObject::~EventObject() {
    if (m_fd >= 0) close(m_fd);
}

void EventObject::Set() {
    const std::lock_guard<std::mutex> guard(m_lock);
    m_signalled = true;
    const eventfd_t one = 1;
    [[maybe_unused]] const int ignored = eventfd_write(m_fd, one);
}

void EventObject::Reset() {
    const std::lock_guard<std::mutex> guard(m_lock);
    m_signalled = false;
    Drain();
}

bool EventObject::Take() {
    const std::lock_guard<std::mutex> guard(m_lock);
    if (!m_signalled) {
        Drain();
        return false;
    }
    if (!m_manualReset) {
        m_signalled = false;
        Drain();
    }
    return true;
}

void EventObject::Drain() {
    eventfd_t count = 0;
    [[maybe_unused]] const int ignored = eventfd_read(m_fd, &count);
}

EventObject* FindEvent(HANDLE handle) { return dynamic_cast<EventObject*>(FindKernelObject(handle)); }

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR name) {
    // Named events are shared between processes on Windows; the stand-in has none.
    if (name != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* event = new EventObject(manualReset != FALSE, initialState != FALSE);
    if (!event->Valid()) {
        delete event;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    SetLastError(ERROR_SUCCESS);
    return RegisterKernelObject(event);
}

namespace {

template <class Change>
BOOL ChangeEvent(HANDLE handle, Change change) {
    EventObject* event = FindEvent(handle);
    if (event == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    change(*event);
    return TRUE;
}

}  // namespace

BOOL SetEvent(HANDLE handle) { return ChangeEvent(handle, [](EventObject& event) { event.Set(); }); }

BOOL ResetEvent(HANDLE handle) { return ChangeEvent(handle, [](EventObject& event) { event.Reset(); }); }
