#include "net/tls_socket.h"

#include <cerrno>
#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>

namespace {

// Puts a socket into non-blocking mode for its lifetime, then back into the mode it found.
class NonBlockingScope {
  public:
    explicit NonBlockingScope(int fd) : m_fd(fd), m_flags(fcntl(fd, F_GETFL)) {
        m_ok = m_flags >= 0 && fcntl(fd, F_SETFL, m_flags | O_NONBLOCK) == 0;
    }
    ~NonBlockingScope() {
        if (m_ok)
            fcntl(m_fd, F_SETFL, m_flags);
    }
    NonBlockingScope(const NonBlockingScope&) = delete;
    NonBlockingScope& operator=(const NonBlockingScope&) = delete;
    bool Ok() const { return m_ok; }

  private:
    int m_fd;
    int m_flags;
    bool m_ok = false;
};

// The socket's own receive time-out in milliseconds, 0 when it has none.
int ReceiveTimeoutMs(const CWSocket& socket) {
    timeval value{};
    socklen_t length = sizeof value;
    socket.GetSockOpt(SOL_SOCKET, SO_RCVTIMEO, &value, &length);
    return static_cast<int>(value.tv_sec * 1000 + value.tv_usec / 1000);
}

} // namespace

bool CSSLSocket::ConnectThen(const QString& host, int timeoutMs, const std::function<void()>& plainConnect) {
    if (!m_ssl.GetHandle() || !m_socket) {
        m_errorText = QStringLiteral("no TLS connection was created");
        return false;
    }
    const SocketDeadline deadline(timeoutMs);
    plainConnect();
    return Prepare(host) && HandshakeUntil(deadline);
}

bool CSSLSocket::ConnectWithTimeout(const QString& host, int port, int timeoutMs) {
    return ConnectThen(
        host, timeoutMs, [&] { m_socket->ConnectWithTimeout(host, port, timeoutMs); });
}

bool CSSLSocket::ConnectViaSocks4(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                  int timeoutMs) {
    return ConnectThen(
        host, timeoutMs, [&] { m_socket->ConnectViaSocks4(proxyHost, proxyPort, host, port, timeoutMs); });
}

bool CSSLSocket::ConnectViaSocks5(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                  int timeoutMs, const QString& user, const QString& password) {
    return ConnectThen(
        host, timeoutMs,
        [&] { m_socket->ConnectViaSocks5(proxyHost, proxyPort, host, port, timeoutMs, user, password); });
}

bool CSSLSocket::ConnectViaHttpProxy(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                     int timeoutMs, const QString& user, const QString& password,
                                     const QString& userAgent) {
    return ConnectThen(
        host, timeoutMs,
        [&] {
            m_socket->ConnectViaHttpProxy(proxyHost, proxyPort, host, port, timeoutMs, user, password,
                                          userAgent);
        });
}

bool CSSLSocket::Handshake(int timeoutMs) {
    return HandshakeUntil(SocketDeadline(timeoutMs));
}

bool CSSLSocket::HandshakeUntil(const SocketDeadline& deadline) {
    SSL* ssl = m_ssl.GetHandle();
    if (!ssl || !m_socket || !m_socket->IsOpen()) {
        m_errorText = QStringLiteral("no TLS connection was created");
        return false;
    }
    try {
        const int eachWaitMs = ReceiveTimeoutMs(*m_socket);
        // Non-blocking, so that no single step of the handshake can outlast the deadline.
        const NonBlockingScope nonBlocking(m_socket->GetHandle());
        if (!nonBlocking.Ok())
            ThrowWSocketException(0);
        for (;;) {
            ERR_clear_error();
            const int result = SSL_connect(ssl);
            if (result == 1) {
                m_errorText.clear();
                return true;
            }
            const int systemError = errno;
            const int kind = SSL_get_error(ssl, result);
            if (kind != SSL_ERROR_WANT_READ && kind != SSL_ERROR_WANT_WRITE) {
                Fail(result, systemError);
                return false;
            }
            int waitMs = deadline.RemainingMs();
            if (waitMs < 0)
                waitMs = eachWaitMs > 0 ? eachWaitMs : -1;
            const bool ready = waitMs != 0 && (kind == SSL_ERROR_WANT_READ ? m_socket->IsReadable(waitMs)
                                                                           : m_socket->IsWritable(waitMs));
            if (!ready)
                ThrowWSocketException(ETIMEDOUT);
        }
    } catch (const CWSocketException& exception) {
        m_errorText = SocketErrorText(exception);
        ERR_clear_error();
        SSL_set_quiet_shutdown(ssl, 1);
        return false;
    }
}

bool CSSLSocket::IsReadable(int timeoutMs) const {
    const SSL* ssl = m_ssl.GetHandle();
    if (ssl && SSL_pending(ssl) > 0)
        return true;
    return m_socket && m_socket->IsOpen() && m_socket->IsReadable(timeoutMs);
}
