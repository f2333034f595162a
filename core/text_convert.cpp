#include "core/text_convert.h"

#include "core/page_prefault.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray WideToUtf8(const QString& text) {
    // Stateless: a high surrogate at the very end is replaced now instead of being held back.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    bytes.append('\0');
    return bytes;
}

QString Utf8ToWide(QByteArrayView bytes) {
    // Stateless: a truncated sequence at the end yields U+FFFD instead of vanishing; a byte-order mark
    // stays part of the text, as every byte given is decoded.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    // What decode() does, with the pages of a large text mapped before the decoder writes them.
    QString text(decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    PrefaultForWriting(text.data(), std::size_t(text.size()) * sizeof(QChar));
    const QChar* end = decoder.appendToBuffer(text.data(), bytes);
    text.truncate(end - text.constData());
    return text;
}
