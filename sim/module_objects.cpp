#include "module_objects.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};
std::atomic<long> liveWorkers{0};
}  // namespace

void ModuleObjectCreated() { ++liveObjects; }
void ModuleObjectDestroyed() { --liveObjects; }
long LiveModuleObjects() { return liveObjects; }

void LockModule(bool lock) {
    if (lock)
        ++serverLocks;
    else
        --serverLocks;
}

void ModuleWorkerStarted() { ++liveWorkers; }
void ModuleWorkerEnded() { --liveWorkers; }

// Pinned: the module is never unloaded before the process ends, even after
// its last worker has said it ended but still runs its last instructions.
void KeepModuleLoaded() {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&KeepModuleLoaded), &module);
}

bool ModuleCanUnload() { return liveObjects == 0 && serverLocks == 0 && liveWorkers == 0; }
