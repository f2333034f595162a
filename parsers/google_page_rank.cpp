#include "parsers/google_page_rank.h"

#include "core/char_codes.h"
#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/downloader.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"

using namespace Qt::StringLiterals;

namespace {

// lookup2's mix step, one line per round as it is usually written.
// clang-format off
void Mix(quint32& a, quint32& b, quint32& c) {
    a -= b; a -= c; a ^= c >> 13;
    b -= c; b -= a; b ^= a << 8;
    c -= a; c -= b; c ^= b >> 13;
    a -= b; a -= c; a ^= c >> 12;
    b -= c; b -= a; b ^= a << 16;
    c -= a; c -= b; c ^= b >> 5;
    a -= b; a -= c; a ^= c >> 3;
    b -= c; b -= a; b ^= a << 10;
    c -= a; c -= b; c ^= b >> 15;
}
// clang-format on

void AppendEscapes(QString& out, const QByteArray& bytes) {
    for (const char byte : bytes)
        out += u'%' + QString::number(static_cast<uchar>(byte), 16).toUpper().rightJustified(2, u'0');
}

// The query text as it may stand in a request line: what the rank service reads back as the same text.
QString EncodeQueryText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t code = c.unicode();
        if (code == u'%') {
            if (i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 && HexDigitValue(text[i + 2]) >= 0)
                out += c;
            else
                out += u"%25"_s;
        } else if (code <= u' ' || code == 0x7F) {
            AppendEscapes(out, QByteArray(1, static_cast<char>(code)));
        } else if (code < 0x80) {
            out += c;
        } else {
            // A surrogate pair is one character in UTF-8.
            const qsizetype length =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            AppendEscapes(out, text.sliced(i, length).toUtf8());
            i += length - 1;
        }
    }
    return out;
}

QString CutAtFirst(const QString& text, QChar c) {
    const qsizetype at = text.indexOf(c);
    return at < 0 ? text : text.left(at);
}

} // namespace

quint32 GooglePageRankChecksum(const QString& text) {
    const ushort* k = text.utf16();
    const qsizetype length = text.size();
    auto word = [k](qsizetype at) {
        return quint32(k[at]) + (quint32(k[at + 1]) << 8) + (quint32(k[at + 2]) << 16) +
               (quint32(k[at + 3]) << 24);
    };
    quint32 a = 0x9E3779B9u;
    quint32 b = 0x9E3779B9u;
    quint32 c = 0xE6359A60u;
    qsizetype i = 0;
    for (; length - i >= 12; i += 12) {
        a += word(i);
        b += word(i + 4);
        c += word(i + 8);
        Mix(a, b, c);
    }
    c += static_cast<quint32>(length);
    const qsizetype rest = length - i;
    // The last 0 to 11 characters; c's lowest byte holds the length, so its characters start one byte up.
    for (qsizetype n = 0; n < rest; ++n) {
        const quint32 value = quint32(k[i + n]);
        if (n < 4)
            a += value << (8 * n);
        else if (n < 8)
            b += value << (8 * (n - 4));
        else
            c += value << (8 * (n - 7));
    }
    Mix(a, b, c);
    return c;
}

namespace CDownloader_Parsers {

void BuildGooglePageRankUrl(QString& url, const QString& pageUrl) {
    QString query = u"info:"_s + pageUrl;
    query = CutAtFirst(query, u'?');
    query = CutAtFirst(query, u'#');
    query = CutAtFirst(query, u'&');
    const quint32 checksum = GooglePageRankChecksum(UrlDecode(query, true));
    url = endpoints::Url(Endpoint::GoogleToolbar, u"/search?client=navclient-auto&ch=6"_s +
                                                      QString::number(checksum) + u"&features=Rank&q="_s +
                                                      EncodeQueryText(query));
}

bool StartGooglePageRank(CDownloader& downloader, const QString& pageUrl) {
    QString url;
    BuildGooglePageRankUrl(url, pageUrl);
    return downloader.Start(url, false, false);
}

int ParsePageRank(const CDownloader& downloader) {
    return ParsePageRank(FinishedBody(downloader));
}

int ParsePageRank(const QString& reply) {
    if (reply.isEmpty())
        return -2;
    const QString text = reply.left(200).trimmed();
    const qsizetype first = text.indexOf(u':');
    if (first < 0)
        return -2;
    const qsizetype second = text.indexOf(u':', first + 1);
    if (second < 0)
        return -2;
    return number_text::ReadInt(QStringView(text).sliced(second + 1)).value_or(-2);
}

} // namespace CDownloader_Parsers
