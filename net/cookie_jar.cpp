#include "net/cookie_jar.h"

#include "core/limits.h"
#include "net/cookie_domain.h"

#include <algorithm>
#include <tuple>

namespace {

QString Reversed(const QString& text) {
    QString out = text;
    std::reverse(out.begin(), out.end());
    return out;
}

auto SortKey(const CDownloader_Cookie& cookie) {
    return std::tie(cookie.domain, cookie.path, cookie.name);
}

bool IsExpired(const CDownloader_Cookie& cookie, std::int64_t now) {
    return cookie.expiry < 0 || (cookie.expiry != 0 && cookie.expiry <= now);
}

// The stored (reversed) domain without the dot of a domain cookie: cookies of "example.com" and
// ".example.com" share one allowance.
QStringView BareDomain(const CDownloader_Cookie& cookie) {
    const QStringView domain(cookie.domain);
    return domain.endsWith(u'.') ? domain.chopped(1) : domain;
}

bool DomainApplies(const CDownloader_Cookie& cookie, const QString& reversedHost) {
    if (!cookie.domainMatch)
        return cookie.domain == reversedHost;
    // The domain itself and every host below it.
    return reversedHost.startsWith(cookie.domain) || reversedHost == BareDomain(cookie);
}

} // namespace

bool CookieJar::Add(const std::vector<CDownloader_Cookie>& cookies, std::int64_t now) {
    bool changed = false;
    for (const CDownloader_Cookie& cookie : cookies)
        changed = Store(cookie, now) || changed;
    return changed;
}

bool CookieJar::Store(CDownloader_Cookie cookie, std::int64_t now) {
    cookie.domainMatch = cookie.domain.startsWith(u'.') ? 1 : 0;
    const QString host = CookieHost(cookie.domainMatch ? cookie.domain.mid(1) : cookie.domain);
    if (host.isEmpty() || (cookie.domainMatch && (IsPublicSuffix(host) || IsIpAddress(host))))
        return false;
    cookie.domain = Reversed(cookie.domainMatch ? u'.' + host : host);

    const auto at = std::lower_bound(m_cookies.begin(), m_cookies.end(), cookie,
                                     [](const auto& a, const auto& b) { return SortKey(a) < SortKey(b); });
    const bool found = at != m_cookies.end() && SortKey(*at) == SortKey(cookie);
    if (IsExpired(cookie, now)) {
        if (!found)
            return false;
        m_cookies.erase(at);
        return true;
    }
    cookie.setOrder = m_nextSetOrder++;
    if (found) {
        *at = std::move(cookie);
        return true;
    }
    const CDownloader_Cookie& added = *m_cookies.insert(at, std::move(cookie));
    EnforceLimits(CDownloader_Cookie(added), now);
    return true;
}

void CookieJar::EnforceLimits(const CDownloader_Cookie& added, std::int64_t now) {
    const QStringView domain = BareDomain(added);
    const auto sameDomain = [&](const CDownloader_Cookie& cookie) { return BareDomain(cookie) == domain; };
    while (std::count_if(m_cookies.begin(), m_cookies.end(), sameDomain) > limits::kMaxCookiesPerDomain &&
           EvictOne(added, now, sameDomain)) {
    }
    const auto any = [](const CDownloader_Cookie&) { return true; };
    while (m_cookies.size() > size_t(limits::kMaxCookiesTotal) && EvictOne(added, now, any)) {
    }
}

template <typename InScope>
bool CookieJar::EvictOne(const CDownloader_Cookie& keep, std::int64_t now, InScope inScope) {
    auto victim = m_cookies.end();
    for (auto it = m_cookies.begin(); it != m_cookies.end(); ++it) {
        if (!inScope(*it) || SortKey(*it) == SortKey(keep))
            continue;
        if (IsExpired(*it, now)) {
            victim = it;
            break;
        }
        if (victim == m_cookies.end() || it->setOrder < victim->setOrder)
            victim = it;
    }
    if (victim == m_cookies.end())
        return false;
    m_cookies.erase(victim);
    return true;
}

QString CookieJar::HeaderFor(const QString& host, const QString& path, bool https, std::int64_t now) {
    const QString reversedHost = Reversed(CookieHost(host));
    const QString requestPath = path.isEmpty() ? QStringLiteral("/") : path;
    QString header;
    for (auto it = m_cookies.begin(); it != m_cookies.end();) {
        if (IsExpired(*it, now)) {
            it = m_cookies.erase(it);
            continue;
        }
        if ((!it->secure || https) && DomainApplies(*it, reversedHost) && requestPath.startsWith(it->path)) {
            header += it->text;
            header += u';';
        }
        ++it;
    }
    return header;
}
