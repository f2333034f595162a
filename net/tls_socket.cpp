#include "net/tls_socket.h"

#include "net/socket_host.h"
#include "net/tls_socket_error.h"

#include <cerrno>
#include <cstring>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace {

QString CanceledText() {
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(ECANCELED, buffer, sizeof buffer));
}

} // namespace

bool CSSLSocket::Create(const CSSLContext& context, CWSocket& socket) {
    SSL* handle = context.NewConnection(m_errorText);
    if (!handle)
        return false;
    m_ssl = CSSLHandle(handle);
    m_socket = &socket;
    m_errorText.clear();
    return true;
}

bool CSSLSocket::Connect(const QString& host, int port) {
    SSL* ssl = m_ssl.GetHandle();
    if (!ssl || !m_socket) {
        m_errorText = QStringLiteral("no TLS connection was created");
        return false;
    }
    m_socket->Connect(host, port);
    if (!Prepare(host))
        return false;

    const int result = SSL_connect(ssl);
    if (result != 1) {
        Fail(result, errno);
        return false;
    }
    m_errorText.clear();
    return true;
}

bool CSSLSocket::Prepare(const QString& host) {
    SSL* ssl = m_ssl.GetHandle();
    ERR_clear_error();
    const QByteArray name = SocketHostBytes(host);
    bool prepared = SSL_set_fd(ssl, m_socket->GetHandle()) == 1;
    if (prepared && IsIpAddressLiteral(name)) {
        // Addresses are not names: no SNI, and the certificate must list the address itself.
        prepared = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), name.constData()) == 1;
    } else if (prepared) {
        SSL_set_hostflags(ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        prepared =
            SSL_set_tlsext_host_name(ssl, name.constData()) == 1 && SSL_set1_host(ssl, name.constData()) == 1;
    }
    if (!prepared) {
        m_errorText = TlsQueueText();
        Close();
        return false;
    }
    return true;
}

qsizetype CSSLSocket::Send(const char* data, qsizetype length) {
    SSL* ssl = m_ssl.GetHandle();
    if (!ssl) {
        m_errorText = QStringLiteral("no TLS connection");
        return -1;
    }
    if (length <= 0)
        return 0;
    ERR_clear_error();
    size_t written = 0;
    const int result = SSL_write_ex(ssl, data, static_cast<size_t>(length), &written);
    if (result != 1) {
        Fail(result, errno);
        return -1;
    }
    return static_cast<qsizetype>(written);
}

qsizetype CSSLSocket::Receive(char* buffer, qsizetype length) {
    SSL* ssl = m_ssl.GetHandle();
    if (!ssl) {
        m_errorText = QStringLiteral("no TLS connection");
        return -1;
    }
    ERR_clear_error();
    size_t received = 0;
    const int result = SSL_read_ex(ssl, buffer, static_cast<size_t>(length), &received);
    if (result == 1)
        return static_cast<qsizetype>(received);
    const int systemError = errno;
    if (SSL_get_error(ssl, result) == SSL_ERROR_ZERO_RETURN && !m_socket->IsInterrupted()) {
        ERR_clear_error();
        return 0;
    }
    Fail(result, systemError);
    return -1;
}

void CSSLSocket::Fail(int result, int systemError) {
    SSL* ssl = m_ssl.GetHandle();
    m_errorText =
        m_socket && m_socket->IsInterrupted() ? CanceledText() : TlsFailureText(ssl, result, systemError);
    ERR_clear_error();
    // The connection is broken or was stopped; a close notification could only block or fail.
    SSL_set_quiet_shutdown(ssl, 1);
}

void CSSLSocket::Close() {
    m_ssl.Release();
    if (m_socket) {
        m_socket->Close();
        m_socket = nullptr;
    }
}
