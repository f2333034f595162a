#pragma once

#include "net/socket_exception.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <sys/socket.h>

class SocketDeadline;

// One socket: a TCP client connection over IPv4 or IPv6, or a socket made by Create (IPv4 stream or
// datagram) for the listening, datagram and proxy operations. Each exchange makes its own instance on the
// thread that uses it; every failure throws CWSocketException, and the destructor closes the socket.
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

    // Makes an unconnected IPv4 socket, a stream socket or (datagram) a datagram socket, with this object's
    // time-outs. Closes a socket held before.
    void Create(bool datagram = false);

    // Milliseconds; 0 waits without limit. Applies to the open socket and to the next Connect.
    void SetTimeouts(int sendMs, int receiveMs);

    // setsockopt / getsockopt on the held socket. Setting SO_SNDTIMEO or SO_RCVTIMEO also sets the
    // time-outs above, so that a later Connect keeps them.
    void SetSockOpt(int level, int option, const void* value, socklen_t length);
    void GetSockOpt(int level, int option, void* value, socklen_t* length) const;

    // Connects to host: a numeric IPv4 or IPv6 address (also "[::1]") is used as it is; a name is looked
    // up. A socket held from Create or Attach is connected to the first address of its own family; without
    // one, a socket is made for each address in turn until one connects. The attempt is bounded by the
    // send time-out.
    void Connect(const QString& host, int port);

    // Connect bounded by timeoutMs instead (0: without limit; running out throws ETIMEDOUT). Unless
    // backToBlocking, the socket stays in non-blocking mode afterwards.
    void ConnectWithTimeout(const QString& host, int port, int timeoutMs, bool backToBlocking = true);

    // Connects to host and port through a proxy at proxyHost and proxyPort; timeoutMs bounds the connect
    // and the whole handshake (0: the send time-out bounds the connect, the receive time-out each wait). A
    // proxy that refuses throws ECONNREFUSED (wrong user name or password: EACCES), one that answers out of
    // protocol EPROTO (an HTTP reply line or header block beyond its bound: EMSGSIZE), one that closes
    // ECONNRESET, one that stays silent ETIMEDOUT. The socket is closed after any failure.
    // SOCKS4 carries an IPv4 address only, so a name is looked up here.
    void ConnectViaSocks4(const QString& proxyHost, int proxyPort, const QString& host, int port,
                          int timeoutMs);
    // A name is passed to the proxy to look up. With a user name the proxy may also ask for it and the
    // password.
    void ConnectViaSocks5(const QString& proxyHost, int proxyPort, const QString& host, int port,
                          int timeoutMs, const QString& user = {}, const QString& password = {});
    // An HTTP proxy's CONNECT tunnel; a user name adds Basic proxy authorization, userAgent its header.
    void ConnectViaHttpProxy(const QString& proxyHost, int proxyPort, const QString& host, int port,
                             int timeoutMs, const QString& user = {}, const QString& password = {},
                             const QString& userAgent = {});

    // Sends all length bytes, however many calls the system needs; flags (MSG_OOB, MSG_DONTWAIT, ...) go
    // with every call, besides the no-signal flag. Running out of the send time-out throws ETIMEDOUT.
    void Send(const char* data, qsizetype length, int flags = 0);

    // Receives up to length bytes, with flags (MSG_PEEK, MSG_OOB, ...); returns 0 when the peer closed the
    // connection. Running out of the receive time-out throws ETIMEDOUT: the peer stalled, so the exchange is
    // over. (A socket left in non-blocking mode, or a call with MSG_DONTWAIT, throws EAGAIN when nothing is
    // there.)
    qsizetype Receive(char* buffer, qsizetype length, int flags = 0);

    // Datagrams: one sendto or recvfrom. The host is a numeric address or a name looked up as by Connect.
    qsizetype SendTo(const char* data, qsizetype length, const QString& host, int port, int flags = 0);
    qsizetype SendTo(const char* data, qsizetype length, const sockaddr* to, socklen_t toLength,
                     int flags = 0);
    qsizetype ReceiveFrom(char* buffer, qsizetype length, sockaddr* from, socklen_t* fromLength,
                          int flags = 0);
    // Also gives the sender's numeric address and port.
    qsizetype ReceiveFrom(char* buffer, qsizetype length, QString& fromAddress, int& fromPort, int flags = 0);

    // Whether a receive, or a send, would not block, waiting up to timeoutMs (0 only looks; negative waits
    // without limit).
    bool IsReadable(int timeoutMs) const;
    bool IsWritable(int timeoutMs) const;

    // Wrappers of one system call each. Accept hands the new connection to connected, with that object's
    // time-outs.
    void Bind(const sockaddr* address, socklen_t length);
    void Listen(int backlog = SOMAXCONN);
    void Accept(CWSocket& connected, sockaddr* address = nullptr, socklen_t* length = nullptr);
    void Shutdown(int how);
    // ioctl on the held socket, e.g. FIONBIO or FIONREAD.
    void IoCtl(unsigned long command, int* argument);
    // Tells the peer nothing more will be sent; receiving goes on.
    void SendDisconnect();

    // The two ends of the connection, also as a numeric address and port.
    void GetPeerName(sockaddr* address, socklen_t* length) const;
    void GetPeerName(QString& address, int& port) const;
    void GetSockName(sockaddr* address, socklen_t* length) const;
    void GetSockName(QString& address, int& port) const;

    // Closes a held socket, then holds handle (which this object closes from then on).
    void Attach(int handle);
    bool IsOpen() const { return m_fd >= 0; }

    // Closes the socket when one is open; never throws.
    void Close();

    // Thread-safe: stops the blocked or next operation of the owning thread (see above).
    void Interrupt();
    bool IsInterrupted() const { return m_interrupted.load(); }

    // The descriptor the TLS layer runs over; -1 when no socket is open.
    int GetHandle() const { return m_fd; }

  private:
    void ConnectBounded(const QString& host, int port, int timeoutMs, bool backToBlocking);
    void ConnectHeld(const void* address, unsigned addressLength, int timeoutMs, bool backToBlocking);
    void ConnectTo(const void* address, unsigned addressLength, int family, int timeoutMs,
                   bool backToBlocking);
    void Hold(int fd);
    int HeldFamily() const;
    void ApplyTimeouts() const;
    int RequireHandle() const;
    bool WaitFor(short events, int timeoutMs) const;
    // EAGAIN as the caller should read it: the time-out ran out, unless the socket is in non-blocking mode
    // or the call's flags asked not to wait.
    int WouldBlockCode(int callFlags = 0) const;
    [[noreturn]] void ThrowSystemError(int code) const;

    // Reads exactly count bytes of a proxy's reply, never more, so that nothing of the tunnelled connection
    // is taken. Waits past the deadline (or, without one, past the receive time-out) throw ETIMEDOUT; the
    // proxy closing throws ECONNRESET.
    void ReceiveReply(char* buffer, qsizetype count, const SocketDeadline& deadline);
    // One reply line without its line end; longer than maxLength throws EMSGSIZE.
    QByteArray ReceiveLine(qsizetype maxLength, const SocketDeadline& deadline);
    // Connects to the proxy and runs handshake on the connection; any failure closes the socket.
    void ConnectViaProxy(const QString& proxyHost, int proxyPort, int timeoutMs,
                         const std::function<void(const SocketDeadline&)>& handshake);

    // Guards m_fd against Interrupt running while the owner closes or replaces it.
    mutable std::mutex m_fdLock;
    int m_fd = -1;
    std::atomic<bool> m_interrupted{false};
    int m_sendTimeoutMs = kSendTimeoutMs;
    int m_receiveTimeoutMs = kReceiveTimeoutMs;
};
