#pragma once

#include "net/http_response.h"

#include <QByteArray>
#include <QString>
#include <optional>

class CDownloader_HTMLTags;

// What the taker of a download slot reads once the job is done: one view of the finished job, references
// into the slot taken together under its lock, so nothing is copied per read. They stay valid until the
// taker starts, resets or releases the slot again, since only those let the worker write the response anew.
struct DownloadResponse {
    // The status line of the last reply (after redirects); no code when it had none (a failed exchange, a
    // whois reply, a file). A 4xx or 5xx reply is a complete download: the taker decides it failed.
    const HttpStatus& status;
    // The Content-Length the last reply announced, when it gave one.
    const std::optional<qint64>& announcedLength;
    const QString& header;
    const QString& body;
    // As received, inflated when it was compressed.
    const QByteArray& raw;
    const CDownloader_HTMLTags& tree;
    // The folder the response's relative links start from.
    const QString& baseUrl;
    // Absolute target of the response's Location header, when it had one.
    const QString& redirectUrl;
    // Why this job's exchange failed, when it did; never an earlier job's failure.
    const QString& lastError;

    // Why the job brought no reply a service's parser may read: the server's error status, else this job's
    // error, else that nothing came back at all. Empty when the reply is there to be read.
    QString FailureText() const;
};
