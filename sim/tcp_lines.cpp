#include <socket_extras.h>
#include <ws2tcpip.h>

#include "tcp_lines.h"

#include <algorithm>

namespace {

SOCKET Handle(std::intptr_t socket) { return static_cast<SOCKET>(socket); }

}  // namespace

TcpLines::Status TcpLines::Connect(const std::string& host, const std::string& port) {
    Close();
    WSADATA data;
    if (WSAStartup(0x0202, &data) != 0) return Status::Failed;
    m_started = true;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr) return Status::Failed;
    const SOCKET created = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    m_socket = static_cast<std::intptr_t>(created);
    if (created != INVALID_SOCKET) {
        unsigned long nonBlocking = 1;
        ioctlsocket(created, FIONBIO, &nonBlocking);
        if (connect(created, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0) {
            m_status = Status::Open;
        } else {
            const int error = WSAGetLastError();
            m_status = error == WSAEWOULDBLOCK || error == WSAEINPROGRESS ? Status::Connecting : Status::Failed;
        }
    }
    freeaddrinfo(found);
    return m_status;
}

bool TcpLines::WaitFor(bool writable, int milliseconds) const {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(Handle(m_socket), &set);
    fd_set failed = set;
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    const int ready = select(static_cast<int>(Handle(m_socket) + 1), writable ? nullptr : &set, writable ? &set : nullptr,
                             &failed, &wait);
    return ready > 0;
}

TcpLines::Status TcpLines::WaitConnected(int milliseconds) {
    if (m_status != Status::Connecting) return m_status;
    if (!WaitFor(true, milliseconds)) return m_status;
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(Handle(m_socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    m_status = error == 0 ? Status::Open : Status::Failed;
    return m_status;
}

bool TcpLines::Send(std::string_view text) {
    if (m_status != Status::Open) return false;
    while (!text.empty()) {
        const long long sent = send(Handle(m_socket), text.data(), static_cast<int>(text.size()), MSG_NOSIGNAL);
        if (sent <= 0) {
            m_status = Status::Failed;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

TcpLines::Status TcpLines::Receive(int milliseconds, std::size_t budget, std::vector<std::string>& lines,
                                   std::size_t& taken) {
    taken = 0;
    if (m_status != Status::Open) return m_status;
    if (!WaitFor(false, milliseconds)) return m_status;
    char buffer[8192];
    while (taken < budget) {
        const int wanted = static_cast<int>(std::min(sizeof buffer, budget - taken));
        const long long received = recv(Handle(m_socket), buffer, wanted, 0);
        if (received == 0) {
            m_status = Status::Failed;
            break;
        }
        if (received < 0) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) m_status = Status::Failed;
            break;
        }
        taken += static_cast<std::size_t>(received);
        if (!m_lines.Feed(std::string_view(buffer, static_cast<std::size_t>(received)), lines)) {
            m_status = Status::Overlong;
            break;
        }
    }
    return m_status;
}

void TcpLines::Close() {
    if (Handle(m_socket) != INVALID_SOCKET) closesocket(Handle(m_socket));
    m_socket = -1;
    if (m_started) WSACleanup();
    m_started = false;
    m_status = Status::Failed;
    m_lines.Clear();
}
