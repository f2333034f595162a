#include "net/socket_host.h"

#include <arpa/inet.h>
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
