#include "net/tls_socket_context.h"

#include "net/tls_socket_error.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <utility>

namespace {

// Adds every certificate of the PEM text to store; false when the text holds none or a broken one.
bool AddTrustedCertificates(X509_STORE* store, const QByteArray& pem, QString& errorText) {
    BIO* source = BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size()));
    if (!source) {
        errorText = TlsQueueText();
        return false;
    }
    int added = 0;
    while (X509* certificate = PEM_read_bio_X509(source, nullptr, nullptr, nullptr)) {
        const bool ok = X509_STORE_add_cert(store, certificate) == 1;
        X509_free(certificate);
        if (!ok) {
            BIO_free(source);
            errorText = TlsQueueText();
            return false;
        }
        ++added;
    }
    BIO_free(source);
    // Reading stops with "no start line" at the end of the text; that is the normal end, not an error.
    ERR_clear_error();
    if (added == 0)
        errorText = QStringLiteral("no certificate in the trusted certificate text");
    return added > 0;
}

} // namespace

CSSLContext::~CSSLContext() {
    Free();
}

CSSLContext::CSSLContext(CSSLContext&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_storeOnce(std::move(other.m_storeOnce)),
      m_storeError(std::move(other.m_storeError)) {}

CSSLContext& CSSLContext::operator=(CSSLContext&& other) noexcept {
    if (this != &other) {
        Free();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_storeOnce = std::move(other.m_storeOnce);
        m_storeError = std::move(other.m_storeError);
    }
    return *this;
}

bool CSSLContext::CreateClient(QString& errorText) {
    return CreateWithTrust(nullptr, errorText);
}

bool CSSLContext::CreateClient(const QByteArray& trustedPem, QString& errorText) {
    return CreateWithTrust(&trustedPem, errorText);
}

bool CSSLContext::CreateWithTrust(const QByteArray* trustedPem, QString& errorText) {
    Free();
    ERR_clear_error();
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (!context) {
        errorText = TlsQueueText();
        return false;
    }
    // Many servers close without a close notification after "Connection: close"; that is the end of the
    // page, not an attack on it.
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    if (trustedPem && !AddTrustedCertificates(SSL_CTX_get_cert_store(context), *trustedPem, errorText)) {
        SSL_CTX_free(context);
        return false;
    }
    m_handle = context;
    if (!trustedPem)
        m_storeOnce = std::make_unique<std::once_flag>();
    errorText.clear();
    return true;
}

SSL* CSSLContext::NewConnection(QString& errorText) const {
    if (!m_handle) {
        errorText = QStringLiteral("no TLS context");
        return nullptr;
    }
    if (m_storeOnce) {
        std::call_once(*m_storeOnce, [this] {
            ERR_clear_error();
            if (SSL_CTX_set_default_verify_paths(m_handle) != 1)
                m_storeError = TlsQueueText();
        });
        if (!m_storeError.isEmpty()) {
            errorText = m_storeError;
            return nullptr;
        }
    }
    ERR_clear_error();
    SSL* connection = SSL_new(m_handle);
    if (!connection)
        errorText = TlsQueueText();
    return connection;
}

void CSSLContext::Free() {
    if (m_handle) {
        SSL_CTX_free(m_handle);
        m_handle = nullptr;
    }
    m_storeOnce.reset();
    m_storeError.clear();
}

void CSSLContext::Attach(SSL_CTX* handle) {
    if (handle == m_handle)
        return;
    Free();
    m_handle = handle;
}

SSL_CTX* CSSLContext::Detach() {
    SSL_CTX* handle = std::exchange(m_handle, nullptr);
    m_storeOnce.reset();
    m_storeError.clear();
    return handle;
}
