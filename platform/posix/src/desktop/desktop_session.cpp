#include "desktop_session.h"

#include "desktop_output.h"
#include "desktop_tray.h"
#include "desktop_windows.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace desktop {
namespace {

volatile std::sig_atomic_t endRequested = 0;
int wakeRead = -1;
int wakeWrite = -1;

void RequestEnd(int) {
    endRequested = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(wakeWrite, &byte, 1);
}

}  // namespace

void RestartExplorer() {
    ForgetTrayEntries();
    WriteEvent("tray reset");
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (HWND window : WindowHandles()) SendMessageA(window, taskbarCreated, 0, 0);
}

void EndSession() {
    for (HWND window : WindowHandles()) SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
    for (HWND window : WindowHandles()) SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    WriteEvent("session ended");
    std::cout.flush();
    std::exit(0);
}

int WatchSessionSignals() {
    if (wakeRead >= 0) return wakeRead;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    wakeRead = fds[0];
    wakeWrite = fds[1];
    struct sigaction action {};
    action.sa_handler = RequestEnd;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A closed standard output makes writes fail instead of ending the
    // process before it could save.
    std::signal(SIGPIPE, SIG_IGN);
    return wakeRead;
}

bool SessionEndRequested() { return endRequested != 0; }

}  // namespace desktop
