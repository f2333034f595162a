#pragma once

#include <QString>

// What one request needs from an http or https URL.
struct HttpUrlParts {
    bool valid = false;
    // https: the connection runs over TLS, whatever the port.
    bool tls = false;
    // Host name or address as written, without the brackets of an IPv6 literal.
    QString host;
    int port = 80;
    // Path and query, "/" when the URL has none; the fragment stays with the client.
    QString object;
    // The Host header's value: the host, with ":port" when the port is not the scheme's default.
    QString hostHeader;
};

// Splits scheme://[user@]host[:port][/path][?query][#fragment] with scheme http or https (any letter
// case). Anything else, an empty host, a host that starts with ".", a port outside 1..65535 or a CR, LF or
// NUL anywhere gives valid false.
HttpUrlParts SplitHttpUrl(const QString& url);

// What SiteOfUrl keeps that the site of an address otherwise drops.
struct SiteOfUrlOptions {
    // A leading "www.": for services that rate a web host, which may differ from its bare domain.
    bool keepWww = false;
    // A port written other than the scheme's default (with no scheme, any port written): two servers
    // on one host are then two sites.
    bool keepPort = false;
};

// The site of an address as users type it, ads show it and result links give it, with or without a
// scheme: the host, lower case, without user info, path, query, fragment or trailing dots, and without
// one leading "www."; an IPv6 literal keeps its brackets. Empty when the address names no host. A site
// is its own site, so a site may be passed again.
QString SiteOfUrl(const QString& url, SiteOfUrlOptions options = {});

// True when text holds CR, LF or NUL: such a URL or header value could smuggle request lines.
bool HasRequestBreakingCharacters(const QString& text);
