// The URL utilities on arbitrary input. The bytes read as UTF-16 are a query value: where that text is
// well-formed, decoding its encoding gives it back. The bytes read as UTF-8 lines are a base URL, a link
// found on its page, then the user agent, referer, cookies, content type and body of a request. A link
// without its own scheme and not starting with "//" stays on the base's scheme, host and port, and no
// request built from any of them carries CR, LF or NUL inside its header lines.
#include "core/url_coding.h"
#include "net/http_request.h"
#include "net/http_url.h"

#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool IsWellFormed(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    return true;
}

void CheckQueryValue(const QString& text) {
    for (const bool blankAsPlus : {true, false}) {
        const QString encoded = UrlEncode(text, blankAsPlus);
        for (const QChar c : encoded)
            Check(c != u' ' && c != u'&' && c != u'=' && c != u'#' && c != u'\r' && c != u'\n' && c != u'\0');
        const QString decoded = UrlDecode(encoded, blankAsPlus);
        Check(!IsWellFormed(text) || decoded == text);
    }
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// An RFC 3986 scheme and its ":" at the start.
bool HasOwnScheme(const QString& link) {
    if (link.isEmpty() || !IsAsciiLetter(link[0]))
        return false;
    for (const QChar c : link) {
        if (c == u':')
            return true;
        if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return false;
}

void CheckStaysOnSite(const HttpUrlParts& base, const QString& resolved) {
    const HttpUrlParts to = SplitHttpUrl(resolved);
    Check(to.valid && to.tls == base.tls && to.host == base.host && to.port == base.port);
}

void CheckRequest(const QString& url, const QStringList& fields) {
    const HttpUrlParts parts = SplitHttpUrl(url);
    if (!parts.valid)
        return;
    const auto field = [&](int i) { return i < fields.size() ? fields[i] : QString(); };
    HttpRequestFields request;
    request.post = field(5).size() % 2 == 1;
    request.object = parts.object;
    request.hostHeader = parts.hostHeader;
    request.userAgent = field(0);
    request.referer = field(1);
    request.cookies = field(2);
    request.contentType = field(3);
    request.body = field(4).toUtf8();
    const QByteArray bytes = BuildHttpRequest(request);

    const qsizetype end = bytes.indexOf("\r\n\r\n");
    Check(end > 0);
    const QByteArray head = bytes.first(end);
    Check(!head.contains('\0'));
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = i + 1 < lines.size() ? lines[i].chopped(1) : lines[i];
        Check((i + 1 == lines.size() || lines[i].endsWith('\r')) && !line.contains('\r'));
        Check(i == 0 || line.contains(": "));
    }
    Check(lines.first() == (request.post ? "POST " : "GET ") + request.object.toUtf8() + " HTTP/1.1\r");
    Check(bytes.sliced(end + 4) == (request.post ? request.body : QByteArray()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * 2); // the input need not be aligned for char16_t
    CheckQueryValue(units);

    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split(u'\n');
    const QString base = lines[0];
    const QString link = lines.value(1);
    const QStringList fields = lines.mid(2);
    const HttpUrlParts baseParts = SplitHttpUrl(base);
    const QString resolved = ResolveUrl(link, base);
    const QString inFolder = ResolveUrlInFolder(link, UrlFolder(base));
    if (baseParts.valid && !HasOwnScheme(link) && !link.startsWith(u"//") &&
        !HasRequestBreakingCharacters(link)) {
        CheckStaysOnSite(baseParts, resolved);
        CheckStaysOnSite(baseParts, inFolder);
    }
    for (const QString& url : {base, link, resolved})
        CheckRequest(url, fields);
    return 0;
}
