#include "core/base64.h"

#include "core/text_convert.h"

#include <QByteArray>

QString Base64Encode(const QString& text) {
    QByteArray bytes = WideToUtf8(text);
    bytes.chop(1); // the terminating 0x00 is no part of the text
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64Encoding));
}

QString Base64Decode(const QString& base64) {
    // A character outside Latin-1 becomes "?", which no base64 holds, so it fails like any other.
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        base64.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return {};
    return Utf8ToWide(*decoded);
}
