#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_assembler.h"

// A TCP connection that reads text lines, never blocking longer than asked
// once connected (Connect resolves the host name first, which may take long).
class TcpLines {
public:
    enum class Status { Connecting, Open, Failed, Overlong };

    TcpLines() = default;
    TcpLines(const TcpLines&) = delete;
    TcpLines& operator=(const TcpLines&) = delete;
    ~TcpLines() { Close(); }

    // Starts connecting to host:port; Failed when that fails at once.
    Status Connect(const std::string& host, const std::string& port);
    // Waits up to `milliseconds` for the connection to be made.
    Status WaitConnected(int milliseconds);
    bool Send(std::string_view text);
    // Waits up to `milliseconds` for data, then takes what has arrived, at
    // most `budget` bytes (their number goes to `taken`), and every whole line
    // in it (without its line end). Failed when the connection ended,
    // Overlong when a line was longer than `kMaxLine`.
    Status Receive(int milliseconds, std::size_t budget, std::vector<std::string>& lines, std::size_t& taken);
    void Close();

    // gpsd's reports are at most 10,240 bytes long, line end included.
    static constexpr std::size_t kMaxLine = 32 * 1024;

private:
    bool WaitFor(bool writable, int milliseconds) const;

    // A SOCKET; kept as an integer so that this header needs no socket headers.
    std::intptr_t m_socket = -1;
    bool m_started = false;
    Status m_status = Status::Failed;
    LineAssembler m_lines{kMaxLine};
};
