// Reads input commands from a descriptor without ever blocking: the message
// loop polls the descriptor and calls in here only when data is ready.
#include "desktop_input.h"

#include "desktop_console.h"

#include <cerrno>
#include <unistd.h>

namespace desktop {
namespace {

int inputFd = STDIN_FILENO;
bool inputEnded = false;
// Unread input is buffer[start, end); the bytes before `scanned` hold no
// line end, so each byte is searched once however long a line grows.
std::string buffer;
size_t start = 0;
size_t scanned = 0;

void Clear() {
    buffer.clear();
    start = 0;
    scanned = 0;
}

}  // namespace

void SetInputFd(int fd) {
    inputFd = fd;
    inputEnded = false;
    Clear();
}

int PollableInputFd() { return inputEnded ? -1 : inputFd; }

void ReadAvailableInput() {
    if (PollableInputFd() < 0) return;
    char chunk[65536];
    const ssize_t count = read(inputFd, chunk, sizeof chunk);
    if (count > 0) {
        // Taken lines are dropped from the front once they are half of it.
        if (start > buffer.size() / 2) {
            buffer.erase(0, start);
            scanned -= start;
            start = 0;
        }
        buffer.append(chunk, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        // End of input: stop polling it; everything else goes on.
        inputEnded = true;
    }
}

bool TakeInputLine(std::string& line) {
    const auto end = buffer.find('\n', scanned);
    if (end != std::string::npos) {
        line.assign(buffer, start, end - start);
        start = scanned = end + 1;
        return true;
    }
    scanned = buffer.size();
    if (inputEnded && start < buffer.size()) {
        line.assign(buffer, start);
        Clear();
        return true;
    }
    return false;
}

void ResetInputBuffer() {
    inputEnded = false;
    Clear();
}

}  // namespace desktop
