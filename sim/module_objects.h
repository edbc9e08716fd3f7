#pragma once

// Book-keeping that decides whether the server may be unloaded: every COM
// object of the simulator counts itself while it lives, LockServer counts
// its locks, and each worker thread counts itself while it runs.
void ModuleObjectCreated();
void ModuleObjectDestroyed();
long LiveModuleObjects();

void LockModule(bool lock);

void ModuleWorkerStarted();
void ModuleWorkerEnded();
// Keeps the module loaded until the process ends, for a worker thread that
// may run after everyone has released the server (COM unloads a server at
// CoUninitialize as soon as DllCanUnloadNow allows it).
void KeepModuleLoaded();

bool ModuleCanUnload();
