#pragma once

#include "net/socket_exception.h"

#include <QString>
#include <atomic>
#include <mutex>

// One TCP client connection over IPv4 or IPv6. Each exchange makes its own instance on the thread that
// uses it; every failure throws CWSocketException, and the destructor closes the connection.
//
//   CWSocket socket;
//   socket.SetTimeouts(CWSocket::kSendTimeoutMs, CWSocket::kReceiveTimeoutMs);
//   socket.Connect(host, port);
//   socket.Send(request.constData(), request.size());
//   while (qsizetype n = socket.Receive(buffer, step)) { ... }   // 0: the peer closed
//
// Another thread may call Interrupt at any time while the object exists: a blocked Connect, Send or
// Receive then returns at once by throwing ECANCELED ("Operation canceled"), and so does every later call.
// (A name look-up under way is not cut short; the connect after it is refused.)
class CWSocket {
  public:
    // The download job's time-outs. The send time-out also bounds each connect attempt.
    static constexpr int kSendTimeoutMs = 5000;
    static constexpr int kReceiveTimeoutMs = 10000;

    CWSocket() = default;
    ~CWSocket();
    CWSocket(const CWSocket&) = delete;
    CWSocket& operator=(const CWSocket&) = delete;

    // Milliseconds; 0 waits without limit. Applies to the open connection and to the next Connect.
    void SetTimeouts(int sendMs, int receiveMs);

    // Connects to host: a numeric IPv4 or IPv6 address (also "[::1]") is used as it is; a name is looked
    // up and its addresses are tried in order. Closes a connection held before.
    void Connect(const QString& host, int port);

    // Sends all length bytes, however many calls the system needs. Running out of the send time-out
    // throws ETIMEDOUT.
    void Send(const char* data, qsizetype length);

    // Receives up to length bytes; returns 0 when the peer closed the connection. Running out of the
    // receive time-out throws ETIMEDOUT: the peer stalled, so the exchange is over.
    qsizetype Receive(char* buffer, qsizetype length);

    // Closes the connection when one is open; never throws.
    void Close();

    // Thread-safe: stops the blocked or next operation of the owning thread (see above).
    void Interrupt();
    bool IsInterrupted() const { return m_interrupted.load(); }

    // The descriptor the TLS layer runs over; -1 when no connection is open.
    int GetHandle() const { return m_fd; }

  private:
    void ConnectTo(const void* address, unsigned addressLength, int family);
    void ApplyTimeouts() const;
    [[noreturn]] void ThrowSystemError(int code) const;

    // Guards m_fd against Interrupt running while the owner closes or replaces it.
    mutable std::mutex m_fdLock;
    int m_fd = -1;
    std::atomic<bool> m_interrupted{false};
    int m_sendTimeoutMs = kSendTimeoutMs;
    int m_receiveTimeoutMs = kReceiveTimeoutMs;
};
