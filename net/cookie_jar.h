#pragma once

#include "net/cookie.h"

#include <QString>
#include <cstdint>
#include <vector>

// The program's cookies, kept only for the run, sorted by (reversed domain, path, name). It takes no lock:
// the crawler guards it with its own.
class CookieJar {
  public:
    // Merges the cookies of one response (domains as received). A cookie already in the jar is replaced, or
    // removed when the new one is expired; an expired cookie that is not in the jar is not added. now is UTC
    // seconds. Returns true when the jar changed.
    bool Add(const std::vector<CDownloader_Cookie>& cookies, std::int64_t now);

    // The Cookie header value for a request to host and path: the text of every cookie that applies, each
    // followed by ";" and no blank, in the jar's order; empty when none applies. Secure cookies apply only
    // when https is set. Cookies found expired are dropped.
    QString HeaderFor(const QString& host, const QString& path, bool https, std::int64_t now);

    const std::vector<CDownloader_Cookie>& Cookies() const { return m_cookies; }

  private:
    bool Store(CDownloader_Cookie cookie, std::int64_t now);
    void EnforceLimits(const CDownloader_Cookie& added, std::int64_t now);
    // Removes the least recently set cookie among those accepted by inScope, sparing keep; expired ones go
    // first. Returns false when there was none to remove.
    template <typename InScope>
    bool EvictOne(const CDownloader_Cookie& keep, std::int64_t now, InScope inScope);

    std::vector<CDownloader_Cookie> m_cookies;
    std::uint64_t m_nextSetOrder = 1;
};
