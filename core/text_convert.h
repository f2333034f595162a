#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// UTF-8 bytes of the whole text followed by one terminating 0x00, so size() counts the terminator:
// saved files and dragged text carry it. Lone surrogates become the bytes of U+FFFD.
QByteArray WideToUtf8(const QString& text);

// Decodes exactly the given bytes (embedded 0x00 and a leading byte-order mark included) as UTF-8;
// invalid sequences become U+FFFD.
QString Utf8ToWide(QByteArrayView bytes);
