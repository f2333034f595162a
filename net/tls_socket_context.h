#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>
#include <openssl/types.h>

// Owner of the program's one TLS client context, which every HTTPS exchange of every download thread shares.
// Peers are verified: the certificate chain against the trusted certificates and the certificate's names
// against the host the exchange connects to.
class CSSLContext {
  public:
    CSSLContext() = default;
    // Holds a context made elsewhere, used as it stands (no system store is read into it).
    explicit CSSLContext(SSL_CTX* handle) : m_handle(handle) {}
    ~CSSLContext();
    CSSLContext(CSSLContext&& other) noexcept;
    CSSLContext& operator=(CSSLContext&& other) noexcept;
    CSSLContext(const CSSLContext&) = delete;
    CSSLContext& operator=(const CSSLContext&) = delete;

    // Makes a client context that trusts the system's certificate store. On failure the holder stays empty
    // and errorText says why. The store itself is read by the first NewConnection: reading it takes long
    // enough to slow the start-up.
    bool CreateClient(QString& errorText);
    // Makes a client context that trusts only the PEM certificates given (tests trust their own throwaway
    // certificate this way).
    bool CreateClient(const QByteArray& trustedPem, QString& errorText);

    // Frees the held context; the holder becomes empty.
    void Free();
    // Frees the held context, then holds handle as the constructor does.
    void Attach(SSL_CTX* handle);
    // Gives up the context without freeing it; the holder becomes empty.
    SSL_CTX* Detach();
    // The context, null when empty.
    SSL_CTX* GetHandle() const { return m_handle; }
    // A new connection over the context (SSL_new), the system store read first if it is still unread; null
    // with errorText set when either fails. Safe to call from several threads at once.
    SSL* NewConnection(QString& errorText) const;

  private:
    bool CreateWithTrust(const QByteArray* trustedPem, QString& errorText);

    SSL_CTX* m_handle = nullptr;
    // Set while the system store is still to be read. Every connection comes from NewConnection, so the
    // store is complete before the first handshake and never changes under one.
    std::unique_ptr<std::once_flag> m_storeOnce;
    mutable QString m_storeError;
};
