#include "net/tls_socket_error.h"

#include <cerrno>
#include <cstring>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace {

QString SystemText(int code) {
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}

// The reason of the first queued error, which is the cause; later entries only say where it surfaced.
QString QueueReason() {
    const unsigned long first = ERR_get_error();
    ERR_clear_error();
    if (first == 0)
        return {};
    if (const char* reason = ERR_reason_error_string(first))
        return QString::fromLatin1(reason);
    char buffer[256];
    ERR_error_string_n(first, buffer, sizeof buffer);
    return QString::fromLatin1(buffer);
}

} // namespace

QString TlsQueueText() {
    const QString reason = QueueReason();
    return reason.isEmpty() ? QStringLiteral("TLS set-up failed") : reason;
}

QString TlsFailureText(const SSL* ssl, int result, int systemError) {
    const int kind = SSL_get_error(ssl, result);
    QString reason = QueueReason();
    switch (kind) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        // The socket blocks with time-outs, so "try again" means the time-out ran out.
        return SystemText(ETIMEDOUT);
    case SSL_ERROR_ZERO_RETURN:
        return QStringLiteral("the peer closed the TLS connection");
    case SSL_ERROR_SYSCALL:
        if (!reason.isEmpty())
            return reason;
        if (systemError == EAGAIN || systemError == EWOULDBLOCK)
            return SystemText(ETIMEDOUT);
        return systemError != 0 ? SystemText(systemError) : QStringLiteral("the connection was closed");
    default:
        break;
    }
    const long verdict = SSL_get_verify_result(ssl);
    if (verdict != X509_V_OK) {
        const QString check = QString::fromLatin1(X509_verify_cert_error_string(verdict));
        reason = reason.isEmpty() ? check : reason + QStringLiteral(": ") + check;
    }
    return reason.isEmpty() ? QStringLiteral("TLS failure") : reason;
}
