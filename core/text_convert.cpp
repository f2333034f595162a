#include "core/text_convert.h"

#include "core/page_prefault.h"

#include <QStringDecoder>
#include <QStringEncoder>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

QByteArray WideToUtf8(const QString& text) {
    // Stateless: a high surrogate at the very end is replaced now instead of being held back.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    bytes.append('\0');
    return bytes;
}

namespace {

// How many UTF-16 units decoding bytes gives at least: every byte that does not continue a sequence gives one
// or more (its character, or a replacement for a bad sequence).
qsizetype LeastDecodedLength(QByteArrayView bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype continuing = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i topBits = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i continuation = _mm_set1_epi8(static_cast<char>(0x80));
    while (i + 16 <= size) {
        // Each byte lane counts up to 255 continuation bytes before the lanes are summed.
        __m128i lanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && i + 16 <= size; ++round, i += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(_mm_and_si128(chunk, topBits), continuation));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        continuing += _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    }
#endif
    for (; i < size; ++i)
        continuing += (in[i] & 0xC0) == 0x80;
    return size - continuing;
}

} // namespace

QString Utf8ToWide(QByteArrayView bytes) {
    // Stateless: a truncated sequence at the end yields U+FFFD instead of vanishing; a byte-order mark
    // stays part of the text, as every byte given is decoded.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    // What decode() does, with the pages of a large text mapped before the decoder writes them; only those
    // it surely writes, as the room made is as long as the bytes and text outside ASCII needs less.
    QString text(decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    if (std::size_t(bytes.size()) * sizeof(QChar) >= kSmallestPrefault)
        PrefaultForWriting(text.data(), std::size_t(LeastDecodedLength(bytes)) * sizeof(QChar));
    const QChar* end = decoder.appendToBuffer(text.data(), bytes);
    text.truncate(end - text.constData());
    return text;
}
