#include "kernel_object.h"

#include <mutex>
#include <unordered_set>

namespace {

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_set<KernelObject*>& LiveObjects() {
    static auto* objects = new std::unordered_set<KernelObject*>;  // outlives static destructors
    return *objects;
}

}  // namespace

HANDLE RegisterKernelObject(KernelObject* object) {
    std::lock_guard<std::mutex> guard(TableLock());
    LiveObjects().insert(object);
    return static_cast<HANDLE>(object);
}

KernelObject* FindKernelObject(HANDLE handle) {
    auto* object = static_cast<KernelObject*>(handle);
    std::lock_guard<std::mutex> guard(TableLock());
    return LiveObjects().count(object) != 0 ? object : nullptr;
}

BOOL CloseHandle(HANDLE handle) {
    auto* object = static_cast<KernelObject*>(handle);
    {
        std::lock_guard<std::mutex> guard(TableLock());
        if (LiveObjects().erase(object) == 0) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    delete object;
    return TRUE;
}
