#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A TCP connection that reads text lines, never blocking longer than asked.
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
    // Waits up to `milliseconds` for data, then takes every whole line that
    // has arrived (without its line end). Failed when the connection ended,
    // Overlong when a line grew longer than `kMaxLine`.
    Status Receive(int milliseconds, std::vector<std::string>& lines);
    void Close();

    static constexpr std::size_t kMaxLine = 1 << 20;

private:
    bool WaitFor(bool writable, int milliseconds) const;

    // A SOCKET; kept as an integer so that this header needs no socket headers.
    std::intptr_t m_socket = -1;
    bool m_started = false;
    Status m_status = Status::Failed;
    std::string m_partial;
};
