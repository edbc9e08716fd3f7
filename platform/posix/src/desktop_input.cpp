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
std::string buffer;

}  // namespace

void SetInputFd(int fd) {
    inputFd = fd;
    inputEnded = false;
    buffer.clear();
}

int PollableInputFd() { return inputEnded ? -1 : inputFd; }

void ReadAvailableInput() {
    if (PollableInputFd() < 0) return;
    char chunk[4096];
    const ssize_t count = read(inputFd, chunk, sizeof chunk);
    if (count > 0) {
        buffer.append(chunk, static_cast<size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        // End of input: stop polling it; everything else goes on.
        inputEnded = true;
    }
}

bool TakeInputLine(std::string& line) {
    const auto end = buffer.find('\n');
    if (end != std::string::npos) {
        line = buffer.substr(0, end);
        buffer.erase(0, end + 1);
        return true;
    }
    if (inputEnded && !buffer.empty()) {
        line.swap(buffer);
        buffer.clear();
        return true;
    }
    return false;
}

void ResetInputBuffer() {
    inputEnded = false;
    buffer.clear();
}

}  // namespace desktop
