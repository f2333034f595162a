#include "net/internet_session.h"

#include "core/limits.h"
#include "core/text_convert.h"
#include "core/url_coding.h"
#include "net/http_request.h"
#include "net/http_response.h"
#include "net/http_url.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The statuses of the exchange's steps.
int StatusOf(ExchangeStage stage) {
    using Session = CProjectCrawler_InternetSession;
    switch (stage) {
    case ExchangeStage::Resolving:
        return Session::kResolvingName;
    case ExchangeStage::Resolved:
        return Session::kNameResolved;
    case ExchangeStage::Connecting:
        return Session::kConnectingToServer;
    case ExchangeStage::Connected:
        return Session::kConnectedToServer;
    case ExchangeStage::Sending:
        return Session::kSendingRequest;
    case ExchangeStage::Sent:
        return Session::kRequestSent;
    case ExchangeStage::Receiving:
        return Session::kReceivingResponse;
    case ExchangeStage::Received:
        return Session::kResponseReceived;
    case ExchangeStage::Closing:
        return Session::kClosingConnection;
    case ExchangeStage::Closed:
        return Session::kConnectionClosed;
    }
    return 0;
}

} // namespace

CProjectCrawler_InternetSession::CProjectCrawler_InternetSession(const CSSLContext* tlsContext)
    : m_tlsContext(tlsContext) {
    SetConnectTimeout(30000);
    SetConnectBackoff(1000);
    SetConnectRetries(1);
    EnableStatusCallback();
}

std::optional<QString> CProjectCrawler_InternetSession::StatusText(int status, const QString& info) {
    switch (status) {
    case kResolvingName:
        return u"Resolving name %1"_s.arg(info);
    case kNameResolved:
        return u"Name resolved %1"_s.arg(info);
    case kConnectingToServer:
        return u"Connecting to socket address"_s;
    case kConnectedToServer:
        return u"Connected to socket address"_s;
    case kSendingRequest:
        return u"Sending request"_s;
    case kRequestSent:
        return u"Request sent"_s;
    case kReceivingResponse:
    case kHandleClosing:
        return std::nullopt;
    case kResponseReceived:
        return u"Response received"_s;
    case kClosingConnection:
        return u"Closing the connection to the server"_s;
    case kConnectionClosed:
        return u"Connection to the server closed"_s;
    case kHandleCreated:
        return u"Handle created"_s;
    case kRequestComplete:
        return u"Request complete"_s;
    case kRedirect:
        return u"Being redirected"_s;
    default:
        return u"Unknown status: %1"_s.arg(status);
    }
}

void CProjectCrawler_InternetSession::OnStatusCallback(std::uintptr_t /*context*/, int status,
                                                       const QString& info) {
    const std::optional<QString> text = StatusText(status, info);
    if (text && m_statusTextSink)
        m_statusTextSink(*text);
}

void CProjectCrawler_InternetSession::Raise(int status, const QString& info) {
    if (m_statusCallback)
        OnStatusCallback(kContext, status, info);
}

HttpExchangeResult CProjectCrawler_InternetSession::Exchange(const HttpExchangeRequest& request) {
    for (int attempt = 0;; ++attempt) {
        bool connected = false;
        HttpExchangeRequest hop = request;
        hop.observer = [&](ExchangeStage stage, const QString& detail) {
            connected = connected || stage == ExchangeStage::Connected;
            Raise(StatusOf(stage), detail);
        };
        const std::atomic<bool> abort{false};
        std::atomic<int> received{0};
        HttpExchangeResult result = ::Exchange(std::move(hop), abort, received, m_socketSlot);
        if (connected || result.error.isEmpty() || attempt >= m_connectRetries)
            return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(m_connectBackoffMs));
    }
}

CProjectCrawler_InternetSession::Response CProjectCrawler_InternetSession::OpenUrl(const QString& url) {
    Raise(kHandleCreated);
    Response response;
    response.url = url;
    for (int redirects = 0;; ++redirects) {
        const HttpUrlParts parts = SplitHttpUrl(response.url);
        if (!parts.valid) {
            response.error = u"Connect error: not an http or https URL"_s;
            break;
        }
        HttpRequestFields fields;
        fields.object = parts.object;
        fields.hostHeader = parts.hostHeader;
        fields.userAgent = kAgent;
        HttpExchangeRequest request;
        request.host = parts.host;
        request.port = parts.port;
        request.tls = parts.tls;
        request.tlsContext = m_tlsContext;
        request.bytes = BuildHttpRequest(fields);
        request.sendTimeoutMs = m_connectTimeoutMs;
        HttpExchangeResult result = Exchange(request);
        response.error = result.error;

        const HeaderSplit split = SplitHeaderBlock(result.data, limits::kHeaderSearchBytes);
        response.header = split.headerLength < 0
                              ? QString()
                              : Utf8ToWide(QByteArrayView(result.data).first(split.headerLength));
        response.body = result.data.sliced(split.bodyStart);
        const ResponseHead head = ParseResponseHead(response.header);
        response.status = split.headerLength < 0 ? 0 : head.status;
        QString codingError;
        UndoTransferCodings(head.transferCodings, response.body, codingError);
        if (response.error.isEmpty())
            response.error = codingError;

        if (!IsRedirect(response.status) || head.location.isEmpty() ||
            redirects >= limits::kMaxRedirectsFollowed)
            break;
        response.url = ResolveUrl(head.location, response.url);
        Raise(kRedirect, response.url);
    }
    Raise(kRequestComplete);
    Raise(kHandleClosing);
    return response;
}
