#include "net/socket.h"
#include "net/socket_deadline.h"
#include "net/socket_host.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>

namespace {

constexpr char kSocks4Version = 4;
constexpr char kSocks5Version = 5;
constexpr char kCommandConnect = 1;
constexpr unsigned char kSocks4Granted = 90;
constexpr unsigned char kMethodNone = 0;
constexpr unsigned char kMethodUserPassword = 2;
constexpr unsigned char kNoAcceptableMethod = 0xFF;
constexpr char kUserPasswordVersion = 1;
constexpr unsigned char kAddressIpv4 = 1;
constexpr unsigned char kAddressName = 3;
constexpr unsigned char kAddressIpv6 = 4;
// Names, user names and passwords travel with a one-byte length.
constexpr qsizetype kMaxFieldBytes = 255;

void AppendPort(QByteArray& bytes, int port) {
    bytes.append(static_cast<char>((port >> 8) & 0xFF));
    bytes.append(static_cast<char>(port & 0xFF));
}

// The SOCKS5 address of host: an IPv4 or IPv6 address as such, anything else as a name for the proxy.
QByteArray Socks5Address(const QByteArray& host) {
    QByteArray address;
    in_addr address4{};
    in6_addr address6{};
    if (inet_pton(AF_INET, host.constData(), &address4) == 1) {
        address.append(static_cast<char>(kAddressIpv4));
        address.append(reinterpret_cast<const char*>(&address4), sizeof address4);
    } else if (inet_pton(AF_INET6, host.constData(), &address6) == 1) {
        address.append(static_cast<char>(kAddressIpv6));
        address.append(reinterpret_cast<const char*>(&address6), sizeof address6);
    } else {
        if (host.isEmpty() || host.size() > kMaxFieldBytes)
            ThrowWSocketException(EINVAL);
        address.append(static_cast<char>(kAddressName));
        address.append(static_cast<char>(host.size()));
        address.append(host);
    }
    return address;
}

} // namespace

void CWSocket::ConnectViaSocks4(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                int timeoutMs) {
    if (port <= 0 || port > 65535)
        ThrowSystemError(EINVAL);
    sockaddr_storage target{};
    ResolveSocketHost(SocketHostBytes(host), AF_INET, port, target);
    const auto& target4 = reinterpret_cast<const sockaddr_in&>(target);

    ConnectViaProxy(proxyHost, proxyPort, timeoutMs, [&](const SocketDeadline& deadline) {
        QByteArray request;
        request.append(kSocks4Version).append(kCommandConnect);
        request.append(reinterpret_cast<const char*>(&target4.sin_port), sizeof target4.sin_port);
        request.append(reinterpret_cast<const char*>(&target4.sin_addr), sizeof target4.sin_addr);
        request.append('\0'); // no user id
        Send(request.constData(), request.size());

        unsigned char reply[8];
        ReceiveReply(reinterpret_cast<char*>(reply), sizeof reply, deadline);
        if (reply[0] != 0)
            ThrowSystemError(EPROTO);
        if (reply[1] != kSocks4Granted)
            ThrowSystemError(ECONNREFUSED);
    });
}

void CWSocket::ConnectViaSocks5(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                int timeoutMs, const QString& user, const QString& password) {
    const QByteArray userBytes = user.toUtf8();
    const QByteArray passwordBytes = password.toUtf8();
    if (port <= 0 || port > 65535 || userBytes.size() > kMaxFieldBytes ||
        passwordBytes.size() > kMaxFieldBytes)
        ThrowSystemError(EINVAL);
    QByteArray request;
    request.append(kSocks5Version).append(kCommandConnect).append('\0');
    request.append(Socks5Address(SocketHostBytes(host)));
    AppendPort(request, port);

    ConnectViaProxy(proxyHost, proxyPort, timeoutMs, [&](const SocketDeadline& deadline) {
        QByteArray greeting;
        greeting.append(kSocks5Version);
        if (userBytes.isEmpty())
            greeting.append('\1').append(static_cast<char>(kMethodNone));
        else
            greeting.append('\2')
                .append(static_cast<char>(kMethodNone))
                .append(static_cast<char>(kMethodUserPassword));
        Send(greeting.constData(), greeting.size());

        unsigned char chosen[2];
        ReceiveReply(reinterpret_cast<char*>(chosen), sizeof chosen, deadline);
        if (chosen[0] != kSocks5Version)
            ThrowSystemError(EPROTO);
        if (chosen[1] == kNoAcceptableMethod)
            ThrowSystemError(ECONNREFUSED);
        if (chosen[1] == kMethodUserPassword && !userBytes.isEmpty()) {
            QByteArray login;
            login.append(kUserPasswordVersion);
            login.append(static_cast<char>(userBytes.size())).append(userBytes);
            login.append(static_cast<char>(passwordBytes.size())).append(passwordBytes);
            Send(login.constData(), login.size());
            unsigned char verdict[2];
            ReceiveReply(reinterpret_cast<char*>(verdict), sizeof verdict, deadline);
            if (verdict[0] != kUserPasswordVersion)
                ThrowSystemError(EPROTO);
            if (verdict[1] != 0)
                ThrowSystemError(EACCES);
        } else if (chosen[1] != kMethodNone) {
            ThrowSystemError(EPROTO);
        }

        Send(request.constData(), request.size());
        // Version, reply code, reserved, address type; then the bound address and port, 262 bytes at most.
        unsigned char reply[4 + 1 + kMaxFieldBytes + 2];
        ReceiveReply(reinterpret_cast<char*>(reply), 4, deadline);
        if (reply[0] != kSocks5Version)
            ThrowSystemError(EPROTO);
        if (reply[1] != 0)
            ThrowSystemError(ECONNREFUSED);
        qsizetype rest = 0;
        switch (reply[3]) {
        case kAddressIpv4:
            rest = 4 + 2;
            break;
        case kAddressIpv6:
            rest = 16 + 2;
            break;
        case kAddressName:
            ReceiveReply(reinterpret_cast<char*>(reply + 4), 1, deadline);
            rest = reply[4] + 2;
            break;
        default:
            ThrowSystemError(EPROTO);
        }
        ReceiveReply(reinterpret_cast<char*>(reply + 5), rest, deadline);
    });
}
