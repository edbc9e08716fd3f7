// The session around the program: the shell restarting, and the user
// logging off or the system shutting down (natively: SIGTERM or SIGHUP).
#pragma once

namespace desktop {

// Forgets the tray, prints "tray reset" and sends "TaskbarCreated" to every
// window, as a starting Explorer does.
void RestartExplorer();

// Asks every window whether the session may end, tells each it ends, prints
// "session ended" and ends the process with exit code 0.
[[noreturn]] void EndSession();

// From the first call on (the first window), SIGTERM and SIGHUP request a session end and a
// closed standard output no longer ends the process. Returns a descriptor
// that becomes readable when a session end was requested.
int WatchSessionSignals();
bool SessionEndRequested();

}  // namespace desktop
