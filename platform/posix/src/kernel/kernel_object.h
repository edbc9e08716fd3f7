// Kernel handles of the stand-in: every HANDLE it gives out points at a
// KernelObject registered here, so CloseHandle can refuse anything else.
#pragma once

#include <windows.h>

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// Takes ownership of the object and returns its handle.
HANDLE RegisterKernelObject(KernelObject* object);

// The live object behind a handle, or null when the handle is none of ours.
KernelObject* FindKernelObject(HANDLE handle);
