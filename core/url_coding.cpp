#include "core/url_coding.h"

#include "core/char_codes.h"

#include <QStringView>

using namespace Qt::StringLiterals;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendPercentByte(QString& out, unsigned byte) {
    out.append(u'%');
    out.append(QLatin1Char(kHexDigits[byte >> 4]));
    out.append(QLatin1Char(kHexDigits[byte & 0xF]));
}

void AppendPercentUtf8(QString& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        AppendPercentByte(out, codePoint);
    } else if (codePoint < 0x800) {
        AppendPercentByte(out, 0xC0 | (codePoint >> 6));
        AppendPercentByte(out, 0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        AppendPercentByte(out, 0xE0 | (codePoint >> 12));
        AppendPercentByte(out, 0x80 | ((codePoint >> 6) & 0x3F));
        AppendPercentByte(out, 0x80 | (codePoint & 0x3F));
    } else {
        AppendPercentByte(out, 0xF0 | (codePoint >> 18));
        AppendPercentByte(out, 0x80 | ((codePoint >> 12) & 0x3F));
        AppendPercentByte(out, 0x80 | ((codePoint >> 6) & 0x3F));
        AppendPercentByte(out, 0x80 | (codePoint & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at bytes[at] (shortest form, no surrogates, at most
// U+10FFFF), or 0 when the byte there does not start one.
qsizetype Utf8SequenceAt(const QByteArray& bytes, qsizetype at, char32_t& codePoint) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    qsizetype length = 0;
    unsigned low = 0x80; // allowed range of the second byte
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const unsigned next = byte(at + i);
        const unsigned min = i == 1 ? low : 0x80;
        const unsigned max = i == 1 ? high : 0xBF;
        if (next < min || next > max)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return length;
}

// A run of escaped bytes: well-formed UTF-8 as UTF-8, any other byte as the character of its code.
void AppendEscapedRun(QString& out, const QByteArray& bytes) {
    qsizetype at = 0;
    while (at < bytes.size()) {
        char32_t codePoint = 0;
        const qsizetype length = Utf8SequenceAt(bytes, at, codePoint);
        if (length == 0) {
            out.append(QChar(char16_t(static_cast<unsigned char>(bytes[at]))));
            ++at;
        } else {
            AppendCodePoint(out, codePoint);
            at += length;
        }
    }
}

// Length of an RFC 3986 scheme at the start of text, its ":" included, or 0 when there is none.
qsizetype SchemeLength(QStringView text) {
    if (text.isEmpty() || !IsAsciiLetter(text[0]))
        return 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u':')
            return i + 1;
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.')
            return 0;
    }
    return 0;
}

// Index where the path begins: after the scheme and, when "//" follows, after the authority.
qsizetype PathStart(QStringView url) {
    qsizetype at = SchemeLength(url);
    if (url.sliced(at).startsWith(u"//")) {
        at += 2;
        while (at < url.size() && url[at] != u'/' && url[at] != u'?' && url[at] != u'#')
            ++at;
    }
    return at;
}

// Index of the first of the given characters at or after from, or the text's size.
qsizetype FindFirstOf(QStringView text, qsizetype from, QStringView characters) {
    for (qsizetype i = from; i < text.size(); ++i)
        if (characters.contains(text[i]))
            return i;
    return text.size();
}

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

QString UrlEncode(const QString& text, bool blankAsPlus) {
    QString out;
    out.reserve(text.size() * 3);
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        qsizetype length = 1;
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(c, text[at + 1]);
            length = 2;
        } else if (c.isSurrogate()) {
            codePoint = QChar::ReplacementCharacter;
        }
        if (codePoint == u' ')
            out.append(blankAsPlus ? u"+"_s : u"%20"_s);
        else if (QChar::isLetter(codePoint) || QChar::isDigit(codePoint))
            out.append(QStringView(text).sliced(at, length));
        else
            AppendPercentUtf8(out, codePoint);
        at += length;
    }
    return out;
}

QString UrlDecode(const QString& text, bool plusAsBlank) {
    QString out;
    out.reserve(text.size());
    QByteArray escaped;
    qsizetype at = 0;
    while (at < text.size()) {
        const QChar c = text[at];
        const bool escape = c == u'%' && at + 2 < text.size();
        const int high = escape ? HexDigitValue(text[at + 1]) : -1;
        const int low = escape ? HexDigitValue(text[at + 2]) : -1;
        if (high >= 0 && low >= 0) {
            escaped.append(static_cast<char>(high * 16 + low));
            at += 3;
            continue;
        }
        if (!escaped.isEmpty()) {
            AppendEscapedRun(out, escaped);
            escaped.clear();
        }
        out.append(plusAsBlank && c == u'+' ? QChar(u' ') : c);
        ++at;
    }
    AppendEscapedRun(out, escaped);
    return out;
}

QString UrlFolder(const QString& base) {
    const qsizetype start = PathStart(base);
    const qsizetype end = FindFirstOf(base, start, u"?#");
    const qsizetype lastSlash = end > start ? base.lastIndexOf(u'/', end - 1) : -1;
    if (lastSlash >= start)
        return base.left(lastSlash);
    return base.left(end) + u'/';
}

QString ResolveUrlInFolder(const QString& link, const QString& folder, const QString& document) {
    if (SchemeLength(link) > 0)
        return link;
    if (link.startsWith(u"//"))
        return folder.left(SchemeLength(folder)) + link;
    if (link.startsWith(u'?') || link.startsWith(u'#')) {
        // "?" replaces the document's query and fragment, "#" only its fragment.
        const QString doc = document.isEmpty() ? WithTrailingSlash(folder) : document;
        const qsizetype keep = FindFirstOf(doc, PathStart(doc), link.startsWith(u'?') ? u"?#" : u"#");
        return doc.left(keep) + link;
    }
    if (link.startsWith(u'/'))
        return folder.left(PathStart(folder)) + link;

    QString base = folder;
    QStringView rest = link;
    while (rest.startsWith(u"../")) {
        const qsizetype lastSlash = base.lastIndexOf(u'/');
        if (lastSlash < PathStart(base)) {
            // Above the root: whatever climbs further is dropped.
            while (!rest.isEmpty() && (rest.front() == u'.' || rest.front() == u'/'))
                rest = rest.sliced(1);
            return base + u'/' + rest.toString();
        }
        base.truncate(lastSlash);
        rest = rest.sliced(3);
    }
    return WithTrailingSlash(base) + rest.toString();
}

QString ResolveUrl(const QString& link, const QString& base) {
    return ResolveUrlInFolder(link, UrlFolder(base), base);
}
