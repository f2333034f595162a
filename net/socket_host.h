#pragma once

#include <QByteArray>
#include <QString>

// Host text as the resolver and the certificate checks want it: UTF-8, with the brackets that URLs put
// around IPv6 literals ("[::1]") removed.
QByteArray SocketHostBytes(const QString& host);

// True when host (in the form above) is a numeric IPv4 or IPv6 address, which is used as it stands:
// no name look-up, no SNI, and the certificate is checked for that address.
bool IsIpAddressLiteral(const QByteArray& host);
