#include "module_objects.h"

#include <atomic>

namespace {
std::atomic<long> live_objects{0};
std::atomic<long> server_locks{0};
}  // namespace

void ModuleObjectCreated() { ++live_objects; }
void ModuleObjectDestroyed() { --live_objects; }
long LiveModuleObjects() { return live_objects; }

void LockModule(bool lock) {
    if (lock)
        ++server_locks;
    else
        --server_locks;
}

bool ModuleCanUnload() { return live_objects == 0 && server_locks == 0; }
