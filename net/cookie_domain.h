#pragma once

#include <QString>

// The host form cookies are kept and matched in: lower case, without IPv6 brackets and without dots at
// either end (a leading dot marks a domain cookie, never a host). The form of a form is itself.
QString CookieHost(const QString& host);

// True for an IPv4 or IPv6 address (in cookie host form): such hosts have no sub-domains.
bool IsIpAddress(const QString& host);

// True for a domain that no site may set cookies for: a single label ("com", "localhost") or one of the
// common multi-label public suffixes ("co.uk", "com.au"). domain is in cookie host form, without a leading
// dot.
bool IsPublicSuffix(const QString& domain);
