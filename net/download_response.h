#pragma once

#include "net/http_response.h"

#include <QByteArray>
#include <QString>

class CDownloader_HTMLTags;

// What the taker of a download slot reads once the job is done: references into the slot, taken together
// under its lock, so nothing is copied per read. They stay valid until the taker starts, resets or releases
// the slot again, since only those let the worker write the response anew.
struct DownloadResponse {
    const QString& header;
    const QString& body;
    // As received, inflated when it was compressed.
    const QByteArray& raw;
    const CDownloader_HTMLTags& tree;
    // The folder the response's relative links start from.
    const QString& baseUrl;
    // Absolute target of the response's Location header, when it had one.
    const QString& redirectUrl;
    // Why the exchange failed, when it did.
    const QString& lastError;
    // The status line of the last reply (after redirects); no code when it had none (a failed exchange, a
    // whois reply, a file). A 4xx or 5xx reply is a complete download: the taker decides it failed.
    const HttpStatus& status;
};
