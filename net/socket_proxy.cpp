#include "net/socket.h"
#include "net/socket_deadline.h"

#include <cerrno>

void CWSocket::ConnectViaProxy(const QString& proxyHost, int proxyPort, int timeoutMs,
                               const std::function<void(const SocketDeadline&)>& handshake) {
    const SocketDeadline deadline(timeoutMs);
    ConnectWithTimeout(proxyHost, proxyPort, timeoutMs > 0 ? timeoutMs : m_sendTimeoutMs);
    try {
        handshake(deadline);
    } catch (...) {
        // Half a handshake leaves the proxy in a state nobody can use.
        Close();
        throw;
    }
}

void CWSocket::ReceiveReply(char* buffer, qsizetype count, const SocketDeadline& deadline) {
    while (count > 0) {
        int waitMs = deadline.RemainingMs();
        if (waitMs < 0)
            waitMs = m_receiveTimeoutMs > 0 ? m_receiveTimeoutMs : -1;
        if (waitMs == 0 || !IsReadable(waitMs))
            ThrowSystemError(ETIMEDOUT);
        const ssize_t received = recv(m_fd, buffer, static_cast<size_t>(count), MSG_DONTWAIT);
        if (received < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            ThrowSystemError(errno);
        }
        if (received == 0)
            ThrowSystemError(ECONNRESET);
        buffer += received;
        count -= received;
    }
}

QByteArray CWSocket::ReceiveLine(qsizetype maxLength, const SocketDeadline& deadline) {
    // A byte at a time: the reply's end is known only when it is seen, and what follows is the tunnel's.
    QByteArray line;
    for (;;) {
        char byte = 0;
        ReceiveReply(&byte, 1, deadline);
        if (byte == '\n') {
            if (line.endsWith('\r'))
                line.chop(1);
            return line;
        }
        if (line.size() >= maxLength)
            ThrowSystemError(EMSGSIZE);
        line.append(byte);
    }
}
