#include "net/download_response.h"

using namespace Qt::StringLiterals;

QString DownloadResponse::FailureText() const {
    // The server's own word that this is not the page asked for comes before anything the exchange said.
    if (status.IsError())
        return status.ErrorText();
    if (!lastError.isEmpty())
        return lastError;
    if (header.isEmpty() && raw.isEmpty())
        return u"Receive error: the server closed the connection without a reply"_s;
    return {};
}
