#include "net/socket.h"
#include "net/socket_deadline.h"
#include "net/socket_host.h"

#include <cerrno>

namespace {

// A proxy's status line and headers are short; a longer line is not a proxy's answer.
constexpr qsizetype kMaxReplyLineBytes = 8192;
// Proxies send a handful of headers with the tunnel's answer; an endless header block is refused.
constexpr int kMaxReplyHeaderLines = 100;

// Text that goes into a request line or header must not end it early.
bool FitsInHeader(const QByteArray& text) {
    for (const char c : text)
        if (c == '\r' || c == '\n' || c == '\0')
            return false;
    return true;
}

// The status code of "HTTP/1.x nnn reason", or -1 when the line is no HTTP status line.
int StatusCode(const QByteArray& line) {
    if (!line.startsWith("HTTP/"))
        return -1;
    const qsizetype space = line.indexOf(' ');
    if (space < 0 || line.size() < space + 4 || (line.size() > space + 4 && line[space + 4] != ' '))
        return -1;
    int code = 0;
    for (qsizetype i = space + 1; i < space + 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

} // namespace

void CWSocket::ConnectViaHttpProxy(const QString& proxyHost, int proxyPort, const QString& host, int port,
                                   int timeoutMs, const QString& user, const QString& password,
                                   const QString& userAgent) {
    QByteArray target = SocketHostBytes(host);
    const QByteArray agent = userAgent.toUtf8();
    if (port <= 0 || port > 65535 || target.isEmpty() || !FitsInHeader(target) || !FitsInHeader(agent))
        ThrowSystemError(EINVAL);
    if (target.contains(':'))
        target = '[' + target + ']';

    QByteArray request = "CONNECT " + target + ':' + QByteArray::number(port) + " HTTP/1.0\r\n";
    if (!user.isEmpty())
        request += "Proxy-authorization: Basic " + (user + u':' + password).toUtf8().toBase64() + "\r\n";
    if (!agent.isEmpty())
        request += "User-Agent: " + agent + "\r\n";
    request += "\r\n";

    ConnectViaProxy(proxyHost, proxyPort, timeoutMs, [&](const SocketDeadline& deadline) {
        Send(request.constData(), request.size());
        const int status = StatusCode(ReceiveLine(kMaxReplyLineBytes, deadline));
        if (status < 0)
            ThrowSystemError(EPROTO);
        if (status / 100 != 2)
            ThrowSystemError(ECONNREFUSED);
        for (int lines = 0; !ReceiveLine(kMaxReplyLineBytes, deadline).isEmpty(); ++lines)
            if (lines == kMaxReplyHeaderLines)
                ThrowSystemError(EMSGSIZE);
    });
}
