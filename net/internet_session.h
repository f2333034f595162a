#pragma once

#include "net/http_exchange.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class CSSLContext;

// A client session of its own over the HTTP exchange, set up like a system internet session: its agent name
// (sent as the User-Agent), a context value handed to the status callback, the system's preconfigured
// access with no proxy (here a direct connection: the program has no system proxy setting to follow) and no
// cache (every request goes to the server, asking caches on the way for a fresh reply); a connect time-out,
// back-off and retries. Its status callback turns each step of a request into a line of text for whoever
// shows them. Requests run on the caller's thread and block until they end.
class CProjectCrawler_InternetSession {
  public:
    static inline const QString kAgent = QStringLiteral("Tarnwick 2.0");
    static constexpr std::uintptr_t kContext = 1;

    // The statuses a request raises, in the order they happen.
    static constexpr int kResolvingName = 10;
    static constexpr int kNameResolved = 11;
    static constexpr int kConnectingToServer = 20;
    static constexpr int kConnectedToServer = 21;
    static constexpr int kSendingRequest = 30;
    static constexpr int kRequestSent = 31;
    static constexpr int kReceivingResponse = 40;
    static constexpr int kResponseReceived = 41;
    static constexpr int kClosingConnection = 50;
    static constexpr int kConnectionClosed = 51;
    static constexpr int kHandleCreated = 60;
    static constexpr int kHandleClosing = 70;
    static constexpr int kRequestComplete = 100;
    static constexpr int kRedirect = 110;

    // The last response of a request.
    struct Response {
        // The final URL, after the redirects followed.
        QString url;
        // 0 when no reply came.
        int status = 0;
        QString header;
        // With its transfer coding undone.
        QByteArray body;
        // Why the request failed ("Connect error: ", ...); empty when it went through.
        QString error;
    };

    // tlsContext (not owned) serves https requests; none makes them fail at connecting.
    explicit CProjectCrawler_InternetSession(const CSSLContext* tlsContext = nullptr);
    virtual ~CProjectCrawler_InternetSession() = default;
    CProjectCrawler_InternetSession(const CProjectCrawler_InternetSession&) = delete;
    CProjectCrawler_InternetSession& operator=(const CProjectCrawler_InternetSession&) = delete;

    // GETs url, following redirects (up to limits::kMaxRedirectsFollowed; a further one is the response).
    // A connect that fails is tried again after the back-off, as often as the retries allow.
    Response OpenUrl(const QString& url);

    void SetConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }
    void SetConnectBackoff(int milliseconds) { m_connectBackoffMs = milliseconds; }
    void SetConnectRetries(int retries) { m_connectRetries = retries; }
    // While disabled, OnStatusCallback hears nothing.
    void EnableStatusCallback(bool enable = true) { m_statusCallback = enable; }

    // Receives each status text of the callback; none: the texts go nowhere.
    void SetStatusTextSink(std::function<void(const QString& text)> sink) {
        m_statusTextSink = std::move(sink);
    }

    // The text of a status; none for 40 (receiving) and 70 (handle closing). info: the host for 10, its
    // address for 11.
    static std::optional<QString> StatusText(int status, const QString& info);

  protected:
    // Called with the session's context for every status of every request while enabled; turns the
    // status into its text for the sink.
    virtual void OnStatusCallback(std::uintptr_t context, int status, const QString& info);

  private:
    void Raise(int status, const QString& info = {});
    // One exchange with url's server, with the connect retries; the reply bytes.
    HttpExchangeResult Exchange(const HttpExchangeRequest& request);

    const CSSLContext* const m_tlsContext;
    int m_connectTimeoutMs = 0;
    int m_connectBackoffMs = 0;
    int m_connectRetries = 0;
    bool m_statusCallback = false;
    std::function<void(const QString& text)> m_statusTextSink;
    ExchangeSocketSlot m_socketSlot;
};
