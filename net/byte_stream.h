#pragma once

#include <QString>

// One client connection as an exchange sees it, plain TCP or TLS alike: connect, send, receive, close.
// Every failure is reported the same way, by false or -1 with the reason in ErrorText; nothing throws.
class ByteStream {
  public:
    virtual ~ByteStream() = default;

    // Connects to host (a name or a numeric address) and port; over TLS this includes the handshake and
    // the certificate check.
    virtual bool Connect(const QString& host, int port) = 0;
    // Sends all length bytes.
    virtual bool Send(const char* data, qsizetype length) = 0;
    // Receives up to length bytes: the count, 0 when the peer closed the connection, -1 on failure.
    virtual qsizetype Receive(char* buffer, qsizetype length) = 0;
    // Safe in any state.
    virtual void Close() = 0;
    // Thread-safe: the owner's blocked call, and every later one, fails at once.
    virtual void Interrupt() = 0;

    // Why the last failing call failed, in words for the user.
    virtual QString ErrorText() const = 0;
};
