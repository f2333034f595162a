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

// The host and the port text of an authority, [user@]host[:port]; an IPv6 literal's host comes without its
// brackets. False when a "[" is not closed or something other than ":" follows its "]".
bool SplitAuthority(QStringView authority, QStringView& host, QStringView& portText) {
    const qsizetype at = authority.lastIndexOf(u'@');
    if (at >= 0)
        authority = authority.sliced(at + 1);
    portText = {};
    if (authority.startsWith(u'[')) {
        const qsizetype close = authority.indexOf(u']');
        if (close < 0)
            return false;
        host = authority.sliced(1, close - 1);
        const QStringView after = authority.sliced(close + 1);
        if (!after.isEmpty()) {
            if (after.front() != u':')
                return false;
            portText = after.sliced(1);
        }
        return true;
    }
    const qsizetype colon = authority.lastIndexOf(u':');
    host = colon >= 0 ? authority.first(colon) : authority;
    if (colon >= 0)
        portText = authority.sliced(colon + 1);
    return true;
}

bool EndsAuthority(QChar c) {
    return c == u'/' || c == u'?' || c == u'#';
}

// The length of the scheme name when text begins with one followed by "://", else 0. Only the very start
// counts: a query may hold a whole address of its own.
qsizetype SchemeLength(QStringView text) {
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (text.isEmpty() || !isLetter(text.front()))
        return 0;
    qsizetype end = 1;
    while (end < text.size() && (isLetter(text[end]) || (text[end] >= u'0' && text[end] <= u'9') ||
                                 text[end] == u'+' || text[end] == u'-' || text[end] == u'.'))
        ++end;
    return text.sliced(end).startsWith(u"://") ? end : 0;
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
    while (authorityEnd < rest.size() && !EndsAuthority(rest[authorityEnd]))
        ++authorityEnd;
    QStringView path = rest.sliced(authorityEnd);

    QStringView host;
    QStringView portText;
    if (!SplitAuthority(rest.first(authorityEnd), host, portText))
        return parts;
    parts.host = host.toString();
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

QString SiteOfUrl(const QString& url, SiteOfUrlOptions options) {
    QStringView rest = QStringView(url).trimmed();
    int defaultPort = 0;
    if (const qsizetype scheme = SchemeLength(rest); scheme > 0) {
        const QStringView name = rest.first(scheme);
        if (name.compare(u"http", Qt::CaseInsensitive) == 0)
            defaultPort = 80;
        else if (name.compare(u"https", Qt::CaseInsensitive) == 0)
            defaultPort = 443;
        rest = rest.sliced(scheme + 3);
    }
    // What follows a blank is no part of the address ("shop.example Deals" in an ad's shown line).
    qsizetype end = 0;
    while (end < rest.size() && !EndsAuthority(rest[end]) && !rest[end].isSpace())
        ++end;
    QStringView host;
    QStringView portText;
    if (!SplitAuthority(rest.first(end), host, portText))
        return {};
    // "example.com." names the same host as "example.com".
    while (host.endsWith(u'.'))
        host.chop(1);
    if (host.isEmpty())
        return {};
    QString site = host.toString().toLower();
    if (!options.keepWww && site.startsWith(u"www."))
        site.remove(0, 4);
    if (site.contains(u':'))
        site = u'[' + site + u']';
    int port = defaultPort;
    if (options.keepPort && !portText.isEmpty() && ReadPort(portText, port) && port != defaultPort)
        site += u':' + QString::number(port);
    return site;
}

bool HasRequestBreakingCharacters(const QString& text) {
    for (const QChar c : text)
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    return false;
}
