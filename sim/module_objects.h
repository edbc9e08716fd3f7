#pragma once

// Book-keeping that decides whether the server may be unloaded: every COM
// object of the simulator counts itself while it lives, and LockServer
// counts its locks.
void ModuleObjectCreated();
void ModuleObjectDestroyed();
long LiveModuleObjects();

void LockModule(bool lock);
bool ModuleCanUnload();
