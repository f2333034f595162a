#pragma once

#include <QString>
#include <cstdint>

// One cookie of the program-wide jar. Before merging, domain is as received (a leading "." makes it a domain
// cookie); in the jar it is lower case and reversed, so that a domain suffix becomes a prefix.
struct CDownloader_Cookie {
    QString domain;
    QString path = QStringLiteral("/");
    // The text before "=" of the cookie's own part, trimmed.
    QString name;
    // Set for a domain cookie (sent to the domain and its sub-domains), clear for a cookie of one host.
    int domainMatch = 0;
    // The cookie's own part as received, "name=value": what is sent back.
    QString text;
    // Seconds since 1970-01-01 00:00 UTC; 0 for a session cookie, negative to delete.
    std::int64_t expiry = 0;
    // Sent over https only.
    bool secure = false;
    // When the jar last stored it: the least recently set cookie gives way first when the jar is full.
    std::uint64_t setOrder = 0;
};
