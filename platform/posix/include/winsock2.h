// POSIX stand-in for the subset of Winsock this project uses: the BSD socket
// calls under their own names, plus Winsock's few names of its own.
#pragma once

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

typedef int SOCKET;
constexpr SOCKET INVALID_SOCKET = -1;
constexpr int SOCKET_ERROR = -1;

constexpr int WSAEWOULDBLOCK = EWOULDBLOCK;
constexpr int WSAEINPROGRESS = EINPROGRESS;

struct WSADATA {
    unsigned short wVersion;
    unsigned short wHighVersion;
};

// There is nothing to start or stop on POSIX.
inline int WSAStartup(unsigned short, WSADATA* data) {
    if (data) data->wVersion = data->wHighVersion = 0x0202;
    return 0;
}
inline int WSACleanup() { return 0; }
inline int WSAGetLastError() { return errno; }
inline int closesocket(SOCKET socket) { return close(socket); }
inline int ioctlsocket(SOCKET socket, long command, unsigned long* argument) {
    int value = static_cast<int>(*argument);
    return ioctl(socket, static_cast<unsigned long>(command), &value);
}
