#pragma once

#include "net/cookie.h"

#include <QString>
#include <cstdint>
#include <vector>

// Appends the cookies of one Set-Cookie header value (the text after "set-cookie:"), received from host, to
// out. The leading "name=value" parts are cookies (several in one header are allowed); the first attribute
// ends them, and the attributes apply to all of them. A Domain attribute that host may not set (another
// site, a public suffix) makes the whole header ignored. now (UTC seconds) turns Max-Age into an expiry.
void ParseSetCookieHeader(const QString& headerValue, const QString& host, std::int64_t now,
                          std::vector<CDownloader_Cookie>& out);
