#include "net/socket.h"

#include <cerrno>

void CWSocket::Bind(const sockaddr* address, socklen_t length) {
    if (bind(RequireHandle(), address, length) != 0)
        ThrowSystemError(errno);
}

void CWSocket::Listen(int backlog) {
    if (listen(RequireHandle(), backlog) != 0)
        ThrowSystemError(errno);
}

void CWSocket::Accept(CWSocket& connected, sockaddr* address, socklen_t* length) {
    const int listening = RequireHandle();
    int fd = -1;
    do {
        fd = accept4(listening, address, length, SOCK_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        ThrowSystemError(errno == EAGAIN || errno == EWOULDBLOCK ? WouldBlockCode() : errno);
    connected.Hold(fd);
    try {
        connected.ApplyTimeouts();
    } catch (...) {
        connected.Close();
        throw;
    }
}
