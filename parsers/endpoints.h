#pragma once

#include <QString>

// Every outside service a request builder talks to. The request paths and queries belong to the builders;
// only the base of each address (scheme, host, port, path prefix) lives here, so that one table says where
// the program goes and tests can send any service to a loopback server.
enum class Endpoint {
    GoogleWeb,            // web result pages of search engine 1
    GoogleToolbar,        // toolbar page-rank queries
    GoogleKeywordTool,    // the keyword tool
    BingWeb,              // web result pages of search engine 3
    BingAdCenter,         // the ad service's web interface: sign-in and keyword research
    BingAdLab,            // the commercial-intention demonstration page
    YahooWeb,             // web result pages of search engine 2
    YahooRedirect,        // the redirect server result links go through (compared with, never asked)
    YahooMarketingSignIn, // Search Marketing: sign-in host
    YahooMarketing,       // Search Marketing: second sign-in host and the suggestion tool
    YahooSiteExplorer,    // linking-page counts
    WordtrackerFree,      // the free keyword suggestion tool
    AskWeb,               // Ask web search
    AlexaData,            // traffic data service
};

inline constexpr int kEndpointCount = static_cast<int>(Endpoint::AlexaData) + 1;

// The base of one service's addresses.
struct EndpointBase {
    QString scheme;     // "http" or "https"
    QString host;       // a name, an IPv4 address or a bare IPv6 address (no brackets)
    int port = 0;       // 0: the scheme's own port
    QString pathPrefix; // empty, or "/" and segments with no "/" at the end; goes before every request path

    friend bool operator==(const EndpointBase&, const EndpointBase&) = default;
};

namespace endpoints {

// The real public address base of a service.
EndpointBase DefaultBase(Endpoint endpoint);

// The base in use: the default unless set otherwise.
EndpointBase Base(Endpoint endpoint);
void Set(Endpoint endpoint, const EndpointBase& base);
// Every service back to its default.
void ResetToDefaults();

// "scheme://host[:port]prefix", an IPv6 host in brackets.
QString BaseUrl(Endpoint endpoint);
// As BaseUrl, with the scheme's own port written out when the base names none (some forms name it).
QString BaseUrlWithPort(Endpoint endpoint);
// The base followed by pathAndQuery, which begins with "/".
QString Url(Endpoint endpoint, const QString& pathAndQuery);

} // namespace endpoints
