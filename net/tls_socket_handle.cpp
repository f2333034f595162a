#include "net/tls_socket_handle.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <utility>

CSSLHandle::CSSLHandle(CSSLHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

CSSLHandle& CSSLHandle::operator=(CSSLHandle&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void CSSLHandle::Release() {
    if (!m_handle)
        return;
    // A handshake that never finished, or a connection that failed, has nothing to close politely.
    if (SSL_is_init_finished(m_handle))
        SSL_shutdown(m_handle);
    // Whatever the shutdown left in the thread's error queue must not be blamed on the next connection.
    ERR_clear_error();
    SSL_free(m_handle);
    m_handle = nullptr;
}

void CSSLHandle::Attach(SSL* handle) {
    if (handle == m_handle)
        return;
    Release();
    m_handle = handle;
}

SSL* CSSLHandle::Detach() {
    return std::exchange(m_handle, nullptr);
}
