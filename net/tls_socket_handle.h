#pragma once

#include <openssl/types.h>

// Owner of the OpenSSL object of one TLS connection.
class CSSLHandle {
  public:
    CSSLHandle() = default;
    explicit CSSLHandle(SSL* handle) : m_handle(handle) {}
    ~CSSLHandle() { Release(); }
    CSSLHandle(CSSLHandle&& other) noexcept;
    CSSLHandle& operator=(CSSLHandle&& other) noexcept;
    CSSLHandle(const CSSLHandle&) = delete;
    CSSLHandle& operator=(const CSSLHandle&) = delete;

    // Sends the close notification once when the connection is up, then frees the object. One attempt
    // only: waiting for the peer's answer would hang on a peer that keeps the connection open.
    void Release();
    // Releases the held connection, then holds handle.
    void Attach(SSL* handle);
    // Gives up the connection object without closing or freeing it; the holder becomes empty.
    SSL* Detach();
    SSL* GetHandle() const { return m_handle; }

  private:
    SSL* m_handle = nullptr;
};
