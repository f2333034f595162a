// The replies of SOCKS4, SOCKS5 and HTTP CONNECT proxies. The first byte names the proxy ('4', '5', 'L'
// for SOCKS5 with a login, 'H' for HTTP; any other byte picks one by its value); the rest is everything a
// proxy on loopback sends before it stops sending. Beside the socket runs a plain model of each protocol's
// reply. Checked: the handshake succeeds exactly when the model says the reply grants the connection, and
// then every byte after the reply, and nothing of the reply, comes through the tunnel; it fails with the
// model's reason otherwise (refused, out of protocol, beyond a bound, cut short), and the socket is closed.
#include "net/sigpipe.h"
#include "net/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

enum class Protocol { Socks4, Socks5, Socks5Login, Http };

Protocol ProtocolFor(std::uint8_t selector) {
    switch (selector) {
    case '4':
        return Protocol::Socks4;
    case '5':
        return Protocol::Socks5;
    case 'L':
        return Protocol::Socks5Login;
    case 'H':
        return Protocol::Http;
    default:
        return static_cast<Protocol>(selector % 4);
    }
}

// What a reply should come to: 0 and the length of the reply when the tunnel stands, else the error.
struct Expected {
    int error = 0;
    qsizetype replyLength = 0;
};

// The reply read in order; running past the end means the proxy closed early.
class Reader {
  public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool Has(qsizetype count) const { return m_at + count <= m_bytes.size(); }
    unsigned char At(qsizetype i) const { return static_cast<unsigned char>(m_bytes[m_at + i]); }
    void Skip(qsizetype count) { m_at += count; }
    qsizetype Position() const { return m_at; }

  private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

Expected Socks4Model(QByteArrayView reply) {
    Reader in(reply);
    if (!in.Has(8))
        return {ECONNRESET};
    if (in.At(0) != 0)
        return {EPROTO};
    if (in.At(1) != 90)
        return {ECONNREFUSED};
    return {0, 8};
}

// RFC 1928 and RFC 1929.
Expected Socks5Model(QByteArrayView reply, bool login) {
    Reader in(reply);
    if (!in.Has(2))
        return {ECONNRESET};
    if (in.At(0) != 5)
        return {EPROTO};
    const unsigned char method = in.At(1);
    in.Skip(2);
    if (method == 0xFF)
        return {ECONNREFUSED};
    if (method == 2 && login) {
        if (!in.Has(2))
            return {ECONNRESET};
        if (in.At(0) != 1)
            return {EPROTO};
        if (in.At(1) != 0)
            return {EACCES};
        in.Skip(2);
    } else if (method != 0) {
        return {EPROTO};
    }
    if (!in.Has(4))
        return {ECONNRESET};
    if (in.At(0) != 5)
        return {EPROTO};
    if (in.At(1) != 0)
        return {ECONNREFUSED};
    const unsigned char type = in.At(3);
    in.Skip(4);
    qsizetype address = 0;
    if (type == 1) {
        address = 4;
    } else if (type == 4) {
        address = 16;
    } else if (type == 3) {
        if (!in.Has(1))
            return {ECONNRESET};
        address = 1 + in.At(0);
    } else {
        return {EPROTO};
    }
    if (!in.Has(address + 2))
        return {ECONNRESET};
    in.Skip(address + 2);
    return {0, in.Position()};
}

// "HTTP/" version, one blank, three digits, then the end or a blank and the reason.
int HttpStatus(QByteArrayView line) {
    const qsizetype blank = line.indexOf(' ');
    if (!line.startsWith("HTTP/") || blank < 0 || line.size() < blank + 4)
        return -1;
    const QByteArrayView digits = line.sliced(blank + 1, 3);
    for (const char c : digits)
        if (c < '0' || c > '9')
            return -1;
    if (line.size() > blank + 4 && line[blank + 4] != ' ')
        return -1;
    return digits.toInt();
}

// A status line and header lines of up to 8192 bytes each before their LF, at most 100 header lines, then
// an empty line.
Expected HttpModel(QByteArrayView reply) {
    constexpr qsizetype kMaxLine = 8192;
    constexpr int kMaxHeaderLines = 100;
    qsizetype at = 0;
    int headerLines = 0;
    for (bool statusLine = true;; statusLine = false) {
        const qsizetype lf = reply.indexOf('\n', at);
        const qsizetype available = (lf < 0 ? reply.size() : lf) - at;
        if (available > kMaxLine)
            return {EMSGSIZE};
        if (lf < 0)
            return {ECONNRESET};
        QByteArrayView line = reply.sliced(at, lf - at);
        if (line.endsWith('\r'))
            line.chop(1);
        at = lf + 1;
        if (statusLine) {
            const int status = HttpStatus(line);
            if (status < 0)
                return {EPROTO};
            if (status / 100 != 2)
                return {ECONNREFUSED};
            continue;
        }
        if (line.isEmpty())
            return {0, at};
        if (++headerLines > kMaxHeaderLines)
            return {EMSGSIZE};
    }
}

Expected Model(Protocol protocol, QByteArrayView reply) {
    switch (protocol) {
    case Protocol::Socks4:
        return Socks4Model(reply);
    case Protocol::Socks5:
        return Socks5Model(reply, false);
    case Protocol::Socks5Login:
        return Socks5Model(reply, true);
    case Protocol::Http:
        return HttpModel(reply);
    }
    return {};
}

// A listening socket on loopback for the whole run.
class Listener {
  public:
    Listener() {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        Check(m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
              listen(m_fd, 8) == 0 && getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0);
        m_port = ntohs(address.sin_port);
    }
    int Fd() const { return m_fd; }
    int Port() const { return m_port; }

  private:
    int m_fd = -1;
    int m_port = 0;
};

// The proxy: takes the client's connection, sends the reply and stops sending, then reads whatever the
// client sends until it closes, so that closing never cuts off bytes in flight.
void Serve(int listenFd, QByteArray reply) {
    pollfd waiting{listenFd, POLLIN, 0};
    if (poll(&waiting, 1, 10000) != 1)
        return;
    const int fd = accept(listenFd, nullptr, nullptr);
    if (fd < 0)
        return;
    for (qsizetype sent = 0; sent < reply.size();) {
        const ssize_t n = send(fd, reply.constData() + sent, size_t(reply.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += n;
    }
    shutdown(fd, SHUT_WR);
    char sink[4096];
    while (recv(fd, sink, sizeof sink, 0) > 0) {
    }
    close(fd);
}

void Connect(CWSocket& socket, Protocol protocol, int port) {
    const QString proxy = u"127.0.0.1"_s;
    constexpr int kTimeoutMs = 10000;
    switch (protocol) {
    case Protocol::Socks4:
        return socket.ConnectViaSocks4(proxy, port, u"127.0.0.1"_s, 80, kTimeoutMs);
    case Protocol::Socks5:
        return socket.ConnectViaSocks5(proxy, port, u"example.test"_s, 80, kTimeoutMs);
    case Protocol::Socks5Login:
        return socket.ConnectViaSocks5(proxy, port, u"example.test"_s, 80, kTimeoutMs, u"user"_s,
                                       u"secret"_s);
    case Protocol::Http:
        return socket.ConnectViaHttpProxy(proxy, port, u"example.test"_s, 443, kTimeoutMs, u"user"_s,
                                          u"secret"_s, u"agent"_s);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const Listener kListener = [] {
        IgnoreBrokenPipeSignal();
        return Listener();
    }();
    const Protocol protocol = ProtocolFor(data[0]);
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const Expected expected = Model(protocol, reply);

    std::thread proxy(Serve, kListener.Fd(), reply);
    CWSocket socket;
    int error = 0;
    QByteArray tunnel;
    try {
        Connect(socket, protocol, kListener.Port());
        char buffer[4096];
        while (const qsizetype received = socket.Receive(buffer, sizeof buffer))
            tunnel.append(buffer, received);
    } catch (const CWSocketException& failure) {
        error = failure.GetErrorCode();
    }
    const bool open = socket.IsOpen();
    socket.Close();
    proxy.join();

    Check(error == expected.error);
    if (error == 0)
        Check(tunnel == reply.sliced(expected.replyLength));
    else
        Check(!open);
    return 0;
}
