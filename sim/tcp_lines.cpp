#include <socket_extras.h>
#include <ws2tcpip.h>

#include "tcp_lines.h"

namespace {

SOCKET Handle(std::intptr_t socket) { return static_cast<SOCKET>(socket); }

}  // namespace

TcpLines::Status TcpLines::Connect(const std::string& host, const std::string& port) {
    Close();
    WSADATA data;
    if (WSAStartup(0x0202, &data) != 0) return Status::Failed;
    started_ = true;

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr) return Status::Failed;
    const SOCKET created = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    socket_ = static_cast<std::intptr_t>(created);
    if (created != INVALID_SOCKET) {
        unsigned long nonBlocking = 1;
        ioctlsocket(created, FIONBIO, &nonBlocking);
        if (connect(created, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0) {
            status_ = Status::Open;
        } else {
            const int error = WSAGetLastError();
            status_ = error == WSAEWOULDBLOCK || error == WSAEINPROGRESS ? Status::Connecting : Status::Failed;
        }
    }
    freeaddrinfo(found);
    return status_;
}

bool TcpLines::WaitFor(bool writable, int milliseconds) const {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(Handle(socket_), &set);
    fd_set failed = set;
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    const int ready = select(static_cast<int>(Handle(socket_) + 1), writable ? nullptr : &set, writable ? &set : nullptr,
                             &failed, &wait);
    return ready > 0;
}

TcpLines::Status TcpLines::WaitConnected(int milliseconds) {
    if (status_ != Status::Connecting) return status_;
    if (!WaitFor(true, milliseconds)) return status_;
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(Handle(socket_), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
    status_ = error == 0 ? Status::Open : Status::Failed;
    return status_;
}

bool TcpLines::Send(std::string_view text) {
    if (status_ != Status::Open) return false;
    while (!text.empty()) {
        const long long sent = send(Handle(socket_), text.data(), static_cast<int>(text.size()), MSG_NOSIGNAL);
        if (sent <= 0) {
            status_ = Status::Failed;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

TcpLines::Status TcpLines::Receive(int milliseconds, std::vector<std::string>& lines) {
    if (status_ != Status::Open) return status_;
    if (!WaitFor(false, milliseconds)) return status_;
    char buffer[8192];
    while (true) {
        const long long received = recv(Handle(socket_), buffer, static_cast<int>(sizeof buffer), 0);
        if (received == 0) {
            status_ = Status::Failed;
            break;
        }
        if (received < 0) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) status_ = Status::Failed;
            break;
        }
        partial_.append(buffer, static_cast<std::size_t>(received));
        std::size_t start = 0;
        for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
            std::size_t stop = end;
            if (stop > start && partial_[stop - 1] == '\r') --stop;
            lines.emplace_back(partial_, start, stop - start);
        }
        partial_.erase(0, start);
        if (partial_.size() > kMaxLine) {
            status_ = Status::Overlong;
            break;
        }
    }
    return status_;
}

void TcpLines::Close() {
    if (Handle(socket_) != INVALID_SOCKET) closesocket(Handle(socket_));
    socket_ = -1;
    if (started_) WSACleanup();
    started_ = false;
    status_ = Status::Failed;
    partial_.clear();
}
