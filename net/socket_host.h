#pragma once

#include <QByteArray>
#include <QString>
#include <sys/socket.h>

// Host text as the resolver and the certificate checks want it: UTF-8, with the brackets that URLs put
// around IPv6 literals ("[::1]") removed.
QByteArray SocketHostBytes(const QString& host);

// True when host (in the form above) is a numeric IPv4 or IPv6 address, which is used as it stands:
// no name look-up, no SNI, and the certificate is checked for that address.
bool IsIpAddressLiteral(const QByteArray& host);

// The first address of host (in the form above) in family, with port, into address; returns its length.
// A numeric address is read without a look-up. Throws CWSocketException when there is none.
socklen_t ResolveSocketHost(const QByteArray& host, int family, int port, sockaddr_storage& address);

// An IPv4 or IPv6 address as numeric text and port; throws CWSocketException (EAFNOSUPPORT) for others.
void SocketAddressText(const sockaddr* address, socklen_t length, QString& text, int& port);
