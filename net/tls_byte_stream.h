#pragma once

#include "net/byte_stream.h"
#include "net/socket.h"
#include "net/tls_socket.h"

class CSSLContext;

// A byte stream over a CSSLSocket on its own CWSocket. Failures of the TCP connection (thrown) and of TLS
// (returned) both become error texts.
class TlsByteStream final : public ByteStream {
  public:
    // context (not owned) must outlive the stream; none makes Connect fail.
    TlsByteStream(const CSSLContext* context, int sendTimeoutMs, int receiveTimeoutMs);

    bool Connect(const QString& host, int port) override;
    bool Send(const char* data, qsizetype length) override;
    qsizetype Receive(char* buffer, qsizetype length) override;
    void Close() override { m_tls.Close(); }
    // Interrupting the socket underneath stops a blocked TLS call too.
    void Interrupt() override { m_socket.Interrupt(); }
    QString ErrorText() const override { return m_errorText; }

  private:
    const CSSLContext* m_context;
    CWSocket m_socket;
    // After the socket, so that it is closed before the socket goes.
    CSSLSocket m_tls;
    QString m_errorText;
};
