// What the COM runtime of the stand-in knows about apartments.
#pragma once

// True when this thread may call into COM: it initialised COM itself, or
// another thread keeps a multithreaded apartment open (the implicit MTA).
bool ComUsableOnThisThread();
