// The console desktop's input: the bytes as typed on standard input, read
// through the input buffer and carried out line by line, with a tray entry to
// click. Every line printed is one line without a raw control character, and
// an error line quotes only a bounded part of the input.
#include <shellapi.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "desktop/desktop_commands.h"
#include "desktop/desktop_console.h"
#include "desktop/desktop_input.h"

namespace {

// "session end" ends the process, as it should; the fuzzer must not.
bool EndsSession(std::string_view line) {
    constexpr std::string_view kBlanks = " \t\r";
    std::string words;
    for (std::size_t pos = line.find_first_not_of(kBlanks); pos != std::string_view::npos;
         pos = line.find_first_not_of(kBlanks, pos)) {
        const std::size_t end = std::min(line.find_first_of(kBlanks, pos), line.size());
        (words += line.substr(pos, end - pos)) += ' ';
        pos = end;
    }
    return words == "session end ";
}

void CheckLines(const std::string& output) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 512) std::abort();
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            const auto next = i + 1 < line.size() ? static_cast<unsigned char>(line[i + 1]) : 0;
            if (byte < 0x20 || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F)) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // All of it goes into a pipe before any is read.
    if (size > 60000) return 0;
    std::ostringstream events, errors;
    desktop::SetEventOutput(&events);
    desktop::SetErrorOutput(&errors);
    desktop::ResetForTests();
    NOTIFYICONDATAA tray{};
    tray.cbSize = sizeof tray;
    tray.uID = 128;
    tray.uFlags = NIF_MESSAGE | NIF_TIP;
    tray.uCallbackMessage = WM_APP + 1;
    Shell_NotifyIconA(NIM_ADD, &tray);

    int fds[2];
    if (pipe(fds) != 0) std::abort();
    if (write(fds[1], data, size) != static_cast<ssize_t>(size)) std::abort();
    close(fds[1]);
    desktop::SetInputFd(fds[0]);
    std::string line;
    while (desktop::PollableInputFd() >= 0) {
        desktop::ReadAvailableInput();
        while (desktop::TakeInputLine(line))
            if (!EndsSession(line)) desktop::ExecuteCommand(line);
    }
    desktop::SetInputFd(-1);
    close(fds[0]);
    desktop::SetEventOutput(nullptr);
    desktop::SetErrorOutput(nullptr);
    CheckLines(events.str());
    CheckLines(errors.str());
    return 0;
}
