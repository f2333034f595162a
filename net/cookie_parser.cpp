#include "net/cookie_parser.h"

#include "core/limits.h"
#include "core/string_list.h"
#include "net/cookie_date.h"
#include "net/cookie_domain.h"

#include <QSet>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Every name that is an attribute and not a cookie; the first one ends the cookie parts of a header.
bool IsAttributeName(const QString& lowerKey) {
    static const QSet<QString> kNames = {u"expires"_s,     u"domain"_s,  u"path"_s,     u"secure"_s,
                                         u"httponly"_s,    u"max-age"_s, u"samesite"_s, u"priority"_s,
                                         u"partitioned"_s, u"version"_s, u"comment"_s};
    return kNames.contains(lowerKey);
}

struct Attribute {
    QString key; // lower case
    QString value;
};

Attribute SplitAttribute(const QString& part) {
    const qsizetype equals = part.indexOf(u'=');
    if (equals < 0)
        return {part.trimmed().toLower(), QString()};
    return {part.left(equals).trimmed().toLower(), part.mid(equals + 1).trimmed()};
}

// Max-Age: digits with an optional minus sign; anything else leaves the attribute unused.
std::optional<std::int64_t> ExpiryFromMaxAge(const QString& value, std::int64_t now) {
    const bool negative = value.startsWith(u'-');
    const QString digits = negative ? value.mid(1) : value;
    if (digits.isEmpty())
        return std::nullopt;
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
    std::int64_t seconds = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        seconds = seconds > (kLargest - digit) / 10 ? kLargest : seconds * 10 + digit;
    }
    if (negative || seconds == 0)
        return -1;
    if (seconds > kLargest - now)
        return kLargest;
    return now + seconds;
}

// The domain this header's cookies are stored under, or nothing when host may not set them.
std::optional<QString> CookieDomain(const QString& attribute, const QString& host) {
    // Compared in the form the jar keeps it in, so what is checked here is what gets stored.
    const QString domain = CookieHost(attribute);
    if (domain == host && (IsIpAddress(host) || IsPublicSuffix(host)))
        return host; // a host without sub-domains keeps the cookie for itself
    if (IsIpAddress(host) || IsPublicSuffix(domain))
        return std::nullopt;
    if (domain == host || host.endsWith(u'.' + domain))
        return u'.' + domain;
    return std::nullopt;
}

} // namespace

void ParseSetCookieHeader(const QString& headerValue, const QString& host, std::int64_t now,
                          std::vector<CDownloader_Cookie>& out) {
    const QStringList parts = SplitString(headerValue, u";"_s, false, true);
    const size_t firstNew = out.size();
    qsizetype at = 0;
    for (; at < parts.size(); ++at) {
        const QString& part = parts[at];
        const qsizetype equals = part.indexOf(u'=');
        const QString key = (equals < 0 ? part : part.left(equals)).trimmed();
        if (IsAttributeName(key.toLower()))
            break;
        if (equals < 0 || part.size() > limits::kMaxCookieTextLength)
            continue;
        CDownloader_Cookie cookie;
        cookie.name = key;
        cookie.text = part;
        out.push_back(cookie);
    }

    const QString requestHost = CookieHost(host);
    QString domain = requestHost;
    QString path = u"/"_s;
    std::optional<std::int64_t> maxAgeExpiry;
    QString expiresText;
    bool secure = false;
    for (; at < parts.size(); ++at) {
        const Attribute attribute = SplitAttribute(parts[at]);
        if (attribute.key == u"domain") {
            if (attribute.value.isEmpty() || attribute.value == u".")
                continue;
            const std::optional<QString> allowed = CookieDomain(attribute.value, requestHost);
            if (!allowed) {
                out.resize(firstNew);
                return;
            }
            domain = *allowed;
        } else if (attribute.key == u"path") {
            // A path that does not start with "/" can never match a request; RFC 6265 falls back here too.
            path = attribute.value.startsWith(u'/') ? attribute.value : u"/"_s;
        } else if (attribute.key == u"expires") {
            expiresText = attribute.value;
        } else if (attribute.key == u"max-age") {
            if (const auto expiry = ExpiryFromMaxAge(attribute.value, now))
                maxAgeExpiry = expiry;
        } else if (attribute.key == u"secure") {
            secure = true;
        }
    }

    std::int64_t expiry = 0;
    if (maxAgeExpiry) {
        expiry = *maxAgeExpiry;
    } else if (const auto date = ParseCookieDate(expiresText)) {
        // 0 would mean a session cookie: a date at or before 1970 is a deletion.
        expiry = *date > 0 ? *date : -1;
    }
    for (size_t i = firstNew; i < out.size(); ++i) {
        out[i].domain = domain;
        out[i].path = path;
        out[i].expiry = expiry;
        out[i].secure = secure;
    }
}
