#include "net/socket.h"
#include "net/socket_host.h"

#include <cerrno>

void CWSocket::GetPeerName(sockaddr* address, socklen_t* length) const {
    if (getpeername(RequireHandle(), address, length) != 0)
        ThrowSystemError(errno);
}

void CWSocket::GetPeerName(QString& address, int& port) const {
    sockaddr_storage name{};
    socklen_t length = sizeof name;
    GetPeerName(reinterpret_cast<sockaddr*>(&name), &length);
    SocketAddressText(reinterpret_cast<const sockaddr*>(&name), length, address, port);
}

void CWSocket::GetSockName(sockaddr* address, socklen_t* length) const {
    if (getsockname(RequireHandle(), address, length) != 0)
        ThrowSystemError(errno);
}

void CWSocket::GetSockName(QString& address, int& port) const {
    sockaddr_storage name{};
    socklen_t length = sizeof name;
    GetSockName(reinterpret_cast<sockaddr*>(&name), &length);
    SocketAddressText(reinterpret_cast<const sockaddr*>(&name), length, address, port);
}
