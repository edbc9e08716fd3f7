// Events: a signalled flag and a descriptor that is readable while the
// event may be signalled, so that a wait can poll it beside other things.
#pragma once

#include <mutex>

#include "kernel_object.h"

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool signalled);
    ~EventObject() override;

    bool Valid() const { return m_fd >= 0; }
    void Set();
    void Reset();
    // Whether the event is signalled; an auto-reset event is reset by it.
    bool Take();
    int Fd() const { return m_fd; }

private:
    void Drain();

    std::mutex m_lock;
    const bool m_manualReset;
    bool m_signalled;
    int m_fd;
};

// The event behind a handle, or null.
EventObject* FindEvent(HANDLE handle);
