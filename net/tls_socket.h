#pragma once

#include "net/socket.h"
#include "net/tls_socket_context.h"
#include "net/tls_socket_handle.h"

#include <QString>

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
    void Fail(int result, int systemError);

    CSSLHandle m_ssl;
    CWSocket* m_socket = nullptr;
    QString m_errorText;
};
