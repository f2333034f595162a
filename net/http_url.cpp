#include "net/http_url.h"

#include <QStringView>

using namespace Qt::StringLiterals;

namespace {

// The port text after the host: digits only, 1..65535; an empty text keeps the default.
bool ReadPort(QStringView text, int& port) {
    if (text.isEmpty())
        return true;
    if (text.size() > 5)
        return false;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

} // namespace

HttpUrlParts SplitHttpUrl(const QString& url) {
    HttpUrlParts parts;
    // What the request line is built from must not be able to end it.
    if (HasRequestBreakingCharacters(url))
        return parts;
    QStringView rest(url);
    if (rest.startsWith(u"http://", Qt::CaseInsensitive)) {
        rest = rest.sliced(7);
    } else if (rest.startsWith(u"https://", Qt::CaseInsensitive)) {
        parts.tls = true;
        parts.port = 443;
        rest = rest.sliced(8);
    } else {
        return parts;
    }
    const int defaultPort = parts.port;

    qsizetype authorityEnd = 0;
    while (authorityEnd < rest.size() && rest[authorityEnd] != u'/' && rest[authorityEnd] != u'?' &&
           rest[authorityEnd] != u'#')
        ++authorityEnd;
    QStringView authority = rest.first(authorityEnd);
    QStringView path = rest.sliced(authorityEnd);

    const qsizetype at = authority.lastIndexOf(u'@');
    if (at >= 0)
        authority = authority.sliced(at + 1);

    QStringView portText;
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return parts;
        parts.host = authority.sliced(1, close - 1).toString();
        QStringView after = authority.sliced(close + 1);
        if (!after.isEmpty()) {
            if (after.front() != u':')
                return parts;
            portText = after.sliced(1);
        }
    } else {
        const qsizetype colon = authority.lastIndexOf(u':');
        parts.host = (colon >= 0 ? authority.first(colon) : authority).toString();
        if (colon >= 0)
            portText = authority.sliced(colon + 1);
    }
    // No resolver accepts a name with a leading dot, and cookies would read the dot as a domain marker.
    if (parts.host.isEmpty() || parts.host.startsWith(u'.') || !ReadPort(portText, parts.port))
        return parts;

    const qsizetype fragment = path.indexOf(u'#');
    if (fragment >= 0)
        path = path.first(fragment);
    parts.object = path.startsWith(u'/') ? path.toString() : u"/"_s + path.toString();

    parts.hostHeader = parts.host.contains(u':') ? u'[' + parts.host + u']' : parts.host;
    if (parts.port != defaultPort)
        parts.hostHeader += u':' + QString::number(parts.port);
    parts.valid = true;
    return parts;
}

bool HasRequestBreakingCharacters(const QString& text) {
    for (const QChar c : text)
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    return false;
}
