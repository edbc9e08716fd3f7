// Console control handlers over signals: the signal handler only writes the
// signal's number to a pipe; a thread of the stand-in's own reads it and asks
// the handlers, so that they may do what a Windows handler thread may.
#include <windows.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct ControlHandlers {
    std::mutex lock;
    std::vector<PHANDLER_ROUTINE> handlers;
    int wakeWrite = -1;
};

ControlHandlers& Handlers() {
    static auto* handlers = new ControlHandlers;  // the handler thread outlives static destructors
    return *handlers;
}

void OnSignal(int signalNumber) {
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t ignored = write(Handlers().wakeWrite, &byte, 1);
}

void AskHandlers(int signalNumber) {
    std::vector<PHANDLER_ROUTINE> handlers;
    {
        const std::lock_guard<std::mutex> guard(Handlers().lock);
        handlers = Handlers().handlers;
    }
    const DWORD type = signalNumber == SIGINT ? CTRL_C_EVENT : CTRL_CLOSE_EVENT;
    for (auto handler = handlers.rbegin(); handler != handlers.rend(); ++handler)
        if ((*handler)(type)) return;
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void ServeSignals(int wakeRead) {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t got = read(wakeRead, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        AskHandlers(byte);
    }
}

// Called with the lock held.
bool StartServing() {
    if (Handlers().wakeWrite >= 0) return true;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    Handlers().wakeWrite = fds[1];
    std::thread(ServeSignals, fds[0]).detach();
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return true;
}

}  // namespace

// Differs from Windows: console events come from POSIX signals; a null handler is refused.
BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE handler, BOOL add) {
    if (handler == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::lock_guard<std::mutex> guard(Handlers().lock);
    auto& handlers = Handlers().handlers;
    if (!add) {
        for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) {
            if (*it == handler) {
                handlers.erase(std::next(it).base());
                return TRUE;
            }
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!StartServing()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    handlers.push_back(handler);
    return TRUE;
}
