#include "net/socket.h"

#include "net/socket_deadline.h"
#include "net/socket_host.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

namespace {

timeval ToTimeval(int ms) {
    timeval value{};
    value.tv_sec = ms / 1000;
    value.tv_usec = (ms % 1000) * 1000;
    return value;
}

int ToMilliseconds(const timeval& value) {
    const long long ms = static_cast<long long>(value.tv_sec) * 1000 + value.tv_usec / 1000;
    return ms < 0 ? 0 : ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

struct AddrInfoFree {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

// Waits for a non-blocking connect to finish; false when the time-out (0: none) ran out first.
bool WaitForConnect(int fd, int timeoutMs) {
    const SocketDeadline deadline(timeoutMs);
    for (;;) {
        const int waitMs = deadline.RemainingMs();
        if (waitMs == 0)
            return false;
        pollfd entry{fd, POLLOUT, 0};
        const int ready = poll(&entry, 1, waitMs);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return true; // SO_ERROR tells what went wrong
    }
}

bool SetNonBlocking(int fd, bool nonBlocking) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

} // namespace

CWSocket::~CWSocket() {
    Close();
}

void CWSocket::Create(bool datagram) {
    const int fd = socket(AF_INET, (datagram ? SOCK_DGRAM : SOCK_STREAM) | SOCK_CLOEXEC, 0);
    if (fd < 0)
        ThrowSystemError(errno);
    Hold(fd);
    try {
        ApplyTimeouts();
    } catch (...) {
        Close();
        throw;
    }
}

void CWSocket::Hold(int fd) {
    std::lock_guard lock(m_fdLock);
    if (m_interrupted.load()) {
        ::close(fd);
        throw CWSocketException(ECANCELED);
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

void CWSocket::Attach(int handle) {
    std::lock_guard lock(m_fdLock);
    if (handle == m_fd)
        return;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = handle;
    // A stopped socket stays stopped, whichever connection it holds.
    if (m_interrupted.load() && m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

int CWSocket::RequireHandle() const {
    if (m_fd < 0)
        ThrowSystemError(ENOTSOCK);
    return m_fd;
}

void CWSocket::SetTimeouts(int sendMs, int receiveMs) {
    m_sendTimeoutMs = sendMs < 0 ? 0 : sendMs;
    m_receiveTimeoutMs = receiveMs < 0 ? 0 : receiveMs;
    if (m_fd >= 0)
        ApplyTimeouts();
}

void CWSocket::ApplyTimeouts() const {
    const timeval send = ToTimeval(m_sendTimeoutMs);
    const timeval receive = ToTimeval(m_receiveTimeoutMs);
    if (setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send) != 0 ||
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof receive) != 0)
        ThrowSystemError(errno);
}

void CWSocket::SetSockOpt(int level, int option, const void* value, socklen_t length) {
    if (setsockopt(RequireHandle(), level, option, value, length) != 0)
        ThrowSystemError(errno);
    if (level == SOL_SOCKET && length >= sizeof(timeval) && (option == SO_SNDTIMEO || option == SO_RCVTIMEO))
        (option == SO_SNDTIMEO ? m_sendTimeoutMs : m_receiveTimeoutMs) =
            ToMilliseconds(*static_cast<const timeval*>(value));
}

void CWSocket::GetSockOpt(int level, int option, void* value, socklen_t* length) const {
    if (getsockopt(RequireHandle(), level, option, value, length) != 0)
        ThrowSystemError(errno);
}

void CWSocket::ThrowSystemError(int code) const {
    // Whatever the system said, an interrupted socket failed because it was told to stop.
    throw CWSocketException(m_interrupted.load() ? ECANCELED : code);
}

int CWSocket::WouldBlockCode(int callFlags) const {
    if (callFlags & MSG_DONTWAIT)
        return EAGAIN;
    const int flags = fcntl(m_fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) ? EAGAIN : ETIMEDOUT;
}

int CWSocket::HeldFamily() const {
    int family = AF_UNSPEC;
    socklen_t length = sizeof family;
    GetSockOpt(SOL_SOCKET, SO_DOMAIN, &family, &length);
    return family;
}

void CWSocket::Connect(const QString& host, int port) {
    ConnectBounded(host, port, m_sendTimeoutMs, true);
}

void CWSocket::ConnectWithTimeout(const QString& host, int port, int timeoutMs, bool backToBlocking) {
    ConnectBounded(host, port, timeoutMs < 0 ? 0 : timeoutMs, backToBlocking);
}

void CWSocket::ConnectBounded(const QString& host, int port, int timeoutMs, bool backToBlocking) {
    if (port <= 0 || port > 65535)
        ThrowSystemError(EINVAL);
    const QByteArray name = SocketHostBytes(host);

    if (m_fd >= 0) {
        sockaddr_storage address{};
        const socklen_t length = ResolveSocketHost(name, HeldFamily(), port, address);
        ConnectHeld(&address, length, timeoutMs, backToBlocking);
        return;
    }

    sockaddr_in address4{};
    if (inet_pton(AF_INET, name.constData(), &address4.sin_addr) == 1) {
        address4.sin_family = AF_INET;
        address4.sin_port = htons(static_cast<uint16_t>(port));
        ConnectTo(&address4, sizeof address4, AF_INET, timeoutMs, backToBlocking);
        return;
    }
    sockaddr_in6 address6{};
    if (inet_pton(AF_INET6, name.constData(), &address6.sin6_addr) == 1) {
        address6.sin6_family = AF_INET6;
        address6.sin6_port = htons(static_cast<uint16_t>(port));
        ConnectTo(&address6, sizeof address6, AF_INET6, timeoutMs, backToBlocking);
        return;
    }

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(name.constData(), QByteArray::number(port).constData(), &hints, &found);
    if (lookup == EAI_SYSTEM)
        ThrowSystemError(errno);
    if (lookup != 0)
        throw CWSocketException(lookup, CWSocketException::Source::Resolver);
    const std::unique_ptr<addrinfo, AddrInfoFree> list(found);

    // A name often has both an IPv6 and an IPv4 address and the service listens on only one of them.
    for (const addrinfo* entry = list.get(); entry; entry = entry->ai_next) {
        try {
            ConnectTo(entry->ai_addr, entry->ai_addrlen, entry->ai_family, timeoutMs, backToBlocking);
            return;
        } catch (const CWSocketException&) {
            if (!entry->ai_next || m_interrupted.load())
                throw;
        }
    }
    throw CWSocketException(EAI_NONAME, CWSocketException::Source::Resolver);
}

void CWSocket::ConnectTo(const void* address, unsigned addressLength, int family, int timeoutMs,
                         bool backToBlocking) {
    const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        ThrowSystemError(errno);
    Hold(fd);
    try {
        ApplyTimeouts();
    } catch (...) {
        Close();
        throw;
    }
    ConnectHeld(address, addressLength, timeoutMs, backToBlocking);
}

void CWSocket::ConnectHeld(const void* address, unsigned addressLength, int timeoutMs, bool backToBlocking) {
    const int fd = m_fd;
    try {
        if (m_interrupted.load())
            ThrowSystemError(ECANCELED);
        // Non-blocking, so that the attempt is bounded and a signal cannot cut it short.
        if (!SetNonBlocking(fd, true))
            ThrowSystemError(errno);
        if (connect(fd, static_cast<const sockaddr*>(address), addressLength) != 0) {
            if (errno != EINPROGRESS)
                ThrowSystemError(errno);
            if (!WaitForConnect(fd, timeoutMs))
                ThrowSystemError(ETIMEDOUT);
            int error = 0;
            socklen_t length = sizeof error;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
                ThrowSystemError(errno);
            if (error != 0)
                ThrowSystemError(error);
        }
        if (m_interrupted.load())
            ThrowSystemError(ECANCELED);
        if (backToBlocking && !SetNonBlocking(fd, false))
            ThrowSystemError(errno);
    } catch (...) {
        // A socket whose connect failed cannot be connected again.
        Close();
        throw;
    }
}

void CWSocket::Send(const char* data, qsizetype length, int flags) {
    if (m_fd < 0)
        ThrowSystemError(ENOTCONN);
    while (length > 0) {
        const ssize_t sent = ::send(m_fd, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR)
                continue;
            ThrowSystemError(errno == EAGAIN || errno == EWOULDBLOCK ? WouldBlockCode(flags) : errno);
        }
        if (m_interrupted.load())
            ThrowSystemError(ECANCELED);
        data += sent;
        length -= sent;
    }
}

qsizetype CWSocket::Receive(char* buffer, qsizetype length, int flags) {
    if (m_fd < 0)
        ThrowSystemError(ENOTCONN);
    for (;;) {
        const ssize_t received = ::recv(m_fd, buffer, static_cast<size_t>(length), flags);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            ThrowSystemError(errno == EAGAIN || errno == EWOULDBLOCK ? WouldBlockCode(flags) : errno);
        }
        // Interrupt shuts the connection down, which looks like an orderly close from here.
        if (received == 0 && m_interrupted.load())
            ThrowSystemError(ECANCELED);
        return received;
    }
}

void CWSocket::Close() {
    std::lock_guard lock(m_fdLock);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void CWSocket::Interrupt() {
    std::lock_guard lock(m_fdLock);
    m_interrupted.store(true);
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}
