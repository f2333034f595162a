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

// True when text holds CR, LF or NUL: such a URL or header value could smuggle request lines.
bool HasRequestBreakingCharacters(const QString& text);
