#pragma once

#include <QByteArray>
#include <QString>

// The fields of one HTTP/1.1 request as the downloader sends it.
struct HttpRequestFields {
    bool post = false;
    QString object;
    QString hostHeader;
    QString userAgent;
    QString referer;
    // The jar's "a=1;b=2;" text for this host and path; empty sends no Cookie line.
    QString cookies;
    QString contentType;
    // POST only: the body as UTF-8 bytes.
    QByteArray body;
};

// The request bytes: request line, the fixed header set in its fixed order, an empty line, then the
// POST body. Lines end in CR LF. A referer, cookie, agent or content type that holds CR, LF or NUL is
// left out rather than allowed to break the header into further lines.
QByteArray BuildHttpRequest(const HttpRequestFields& fields);
