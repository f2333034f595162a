#pragma once

#include "net/socket.h"
#include "net/socket_deadline.h"
#include "net/tls_socket_context.h"
#include "net/tls_socket_handle.h"

#include <QString>
#include <functional>

// A TLS connection over a CWSocket, for HTTPS. The TLS socket does not own the CWSocket object, but it
// closes its connection when it closes. TLS failures are reported by false or a negative count, with the
// reason in GetErrorText; failures of the TCP connection itself still throw CWSocketException.
//
//   CWSocket socket;                       // time-outs set on it apply to the handshake too
//   CSSLSocket tls;
//   if (!tls.Create(context, socket) || !tls.Connect(host, 443)) -> GetErrorText()
//   tls.Send(...); while (tls.Receive(...) > 0) ...; tls.Close();
//
// To stop a blocked call from another thread, interrupt the CWSocket underneath.
class CSSLSocket {
  public:
    CSSLSocket() = default;
    ~CSSLSocket() { Close(); }
    CSSLSocket(const CSSLSocket&) = delete;
    CSSLSocket& operator=(const CSSLSocket&) = delete;

    // Makes the connection object from context and remembers socket; the connection is made by Connect.
    bool Create(const CSSLContext& context, CWSocket& socket);

    // Connects the socket (throws CWSocketException as CWSocket::Connect does), then runs the handshake.
    // A host name is sent as SNI and must match the certificate; an IP address must match as an address.
    // False, with the reason in GetErrorText, when the handshake or the certificate check fails.
    bool Connect(const QString& host, int port);

    // Connect, with the socket connected within a time-out or through a proxy (as the CWSocket operations of
    // the same names do, throwing as they do), and the handshake run as Handshake runs it. timeoutMs bounds
    // the connect and the handshake together.
    bool ConnectWithTimeout(const QString& host, int port, int timeoutMs);
    bool ConnectViaSocks4(const QString& proxyHost, int proxyPort, const QString& host, int port,
                          int timeoutMs);
    bool ConnectViaSocks5(const QString& proxyHost, int proxyPort, const QString& host, int port,
                          int timeoutMs, const QString& user = {}, const QString& password = {});
    bool ConnectViaHttpProxy(const QString& proxyHost, int proxyPort, const QString& host, int port,
                             int timeoutMs, const QString& user = {}, const QString& password = {},
                             const QString& userAgent = {});

    // Runs the handshake over the connected socket, waiting for the socket whenever OpenSSL asks for it,
    // up to timeoutMs in all (0: each wait up to the socket's receive time-out). False, with the reason in
    // GetErrorText, when it fails or runs out of time.
    bool Handshake(int timeoutMs);

    // True when decrypted bytes already wait in OpenSSL, or when the socket becomes readable within
    // timeoutMs (as CWSocket::IsReadable, which may throw).
    bool IsReadable(int timeoutMs) const;

    // Sends all length bytes; returns length, or -1 on failure.
    qsizetype Send(const char* data, qsizetype length);

    // Receives up to length bytes; returns the count, 0 when the peer closed the connection, or -1 on
    // failure (a stalled peer fails with the system's time-out text).
    qsizetype Receive(char* buffer, qsizetype length);

    // Closes the TLS connection with one close notification, then the socket. Safe in any state.
    void Close();

    // Why the last Create, Connect, Send or Receive failed.
    QString GetErrorText() const { return m_errorText; }

  private:
    // Readies the connection for host (server name, certificate names) on the connected socket.
    bool Prepare(const QString& host);
    bool HandshakeUntil(const SocketDeadline& deadline);
    bool ConnectThen(const QString& host, int timeoutMs, const std::function<void()>& plainConnect);
    void Fail(int result, int systemError);

    CSSLHandle m_ssl;
    CWSocket* m_socket = nullptr;
    QString m_errorText;
};
