#include "net/http_request.h"

#include "net/http_url.h"

namespace {

void AppendLine(QByteArray& out, const char* name, const QString& value) {
    if (HasRequestBreakingCharacters(value))
        return;
    out.append(name);
    out.append(value.toUtf8());
    out.append("\r\n");
}

} // namespace

QByteArray BuildHttpRequest(const HttpRequestFields& fields) {
    QByteArray out;
    out.reserve(512 + fields.body.size());
    out.append(fields.post ? "POST " : "GET ");
    out.append(fields.object.toUtf8());
    out.append(" HTTP/1.1\r\n");
    AppendLine(out, "Host: ", fields.hostHeader);
    out.append("Accept: */*\r\n"
               "Accept-Language: *\r\n"
               "Accept-Encoding: text/*\r\n"
               "Accept-Charset: iso-8859-1; utf-8; *\r\n");
    AppendLine(out, "User-Agent: ", fields.userAgent);
    out.append("Connection: close\r\n");
    if (!fields.referer.isEmpty())
        AppendLine(out, "Referer: ", fields.referer);
    if (!fields.cookies.isEmpty())
        AppendLine(out, "Cookie: ", fields.cookies);
    if (fields.post) {
        AppendLine(out, "Content-Type: ", fields.contentType);
        out.append("Content-Length: ");
        out.append(QByteArray::number(fields.body.size()));
        out.append("\r\n");
    }
    out.append("Cache-Control: max-age=0;\r\n\r\n");
    if (fields.post)
        out.append(fields.body);
    return out;
}
