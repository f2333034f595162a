#include "net/socket.h"
#include "net/socket_host.h"

#include <cerrno>

qsizetype CWSocket::SendTo(const char* data, qsizetype length, const QString& host, int port, int flags) {
    if (port <= 0 || port > 65535)
        ThrowSystemError(EINVAL);
    sockaddr_storage address{};
    const socklen_t addressLength = ResolveSocketHost(SocketHostBytes(host), HeldFamily(), port, address);
    return SendTo(data, length, reinterpret_cast<const sockaddr*>(&address), addressLength, flags);
}

qsizetype CWSocket::SendTo(const char* data, qsizetype length, const sockaddr* to, socklen_t toLength,
                           int flags) {
    const int fd = RequireHandle();
    for (;;) {
        const ssize_t sent =
            sendto(fd, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL, to, toLength);
        if (sent >= 0)
            return sent;
        if (errno != EINTR)
            ThrowSystemError(errno == EAGAIN || errno == EWOULDBLOCK ? WouldBlockCode(flags) : errno);
    }
}

qsizetype CWSocket::ReceiveFrom(char* buffer, qsizetype length, sockaddr* from, socklen_t* fromLength,
                                int flags) {
    const int fd = RequireHandle();
    for (;;) {
        const ssize_t received = recvfrom(fd, buffer, static_cast<size_t>(length), flags, from, fromLength);
        if (received >= 0) {
            if (m_interrupted.load())
                ThrowSystemError(ECANCELED);
            return received;
        }
        if (errno != EINTR)
            ThrowSystemError(errno == EAGAIN || errno == EWOULDBLOCK ? WouldBlockCode(flags) : errno);
    }
}

qsizetype CWSocket::ReceiveFrom(char* buffer, qsizetype length, QString& fromAddress, int& fromPort,
                                int flags) {
    sockaddr_storage address{};
    socklen_t addressLength = sizeof address;
    const qsizetype received =
        ReceiveFrom(buffer, length, reinterpret_cast<sockaddr*>(&address), &addressLength, flags);
    SocketAddressText(reinterpret_cast<const sockaddr*>(&address), addressLength, fromAddress, fromPort);
    return received;
}
