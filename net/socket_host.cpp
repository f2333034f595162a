#include "net/socket_host.h"

#include "net/socket_exception.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>

QByteArray SocketHostBytes(const QString& host) {
    QByteArray bytes = host.trimmed().toUtf8();
    if (bytes.size() >= 2 && bytes.startsWith('[') && bytes.endsWith(']'))
        bytes = bytes.mid(1, bytes.size() - 2);
    return bytes;
}

bool IsIpAddressLiteral(const QByteArray& host) {
    in6_addr address6{};
    in_addr address4{};
    return inet_pton(AF_INET, host.constData(), &address4) == 1 ||
           inet_pton(AF_INET6, host.constData(), &address6) == 1;
}

socklen_t ResolveSocketHost(const QByteArray& host, int family, int port, sockaddr_storage& address) {
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_flags = AI_NUMERICSERV;
    // One entry per address rather than one per socket type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found);
    if (lookup == EAI_SYSTEM)
        ThrowWSocketException(errno != 0 ? errno : EIO);
    if (lookup != 0)
        throw CWSocketException(lookup, CWSocketException::Source::Resolver);
    const socklen_t length = found->ai_addrlen;
    std::memcpy(&address, found->ai_addr, length);
    freeaddrinfo(found);
    return length;
}

void SocketAddressText(const sockaddr* address, socklen_t length, QString& text, int& port) {
    char buffer[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET && length >= sizeof(sockaddr_in)) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
        inet_ntop(AF_INET, &v4->sin_addr, buffer, sizeof buffer);
        port = ntohs(v4->sin_port);
    } else if (address->sa_family == AF_INET6 && length >= sizeof(sockaddr_in6)) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        inet_ntop(AF_INET6, &v6->sin6_addr, buffer, sizeof buffer);
        port = ntohs(v6->sin6_port);
    } else {
        ThrowWSocketException(EAFNOSUPPORT);
    }
    text = QString::fromLatin1(buffer);
}
