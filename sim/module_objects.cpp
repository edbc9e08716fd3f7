#include "module_objects.h"

#include <atomic>

namespace {
std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};
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

bool ModuleCanUnload() { return liveObjects == 0 && serverLocks == 0; }
