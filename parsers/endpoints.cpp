#include "parsers/endpoints.h"

#include <array>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

EndpointBase makeBase(const QString& scheme, const QString& host) {
    EndpointBase base;
    base.scheme = scheme;
    base.host = host;
    return base;
}

struct EndpointTable {
    std::mutex lock;
    std::array<EndpointBase, kEndpointCount> bases;

    EndpointTable() { reset(); }
    void reset() {
        for (int i = 0; i < kEndpointCount; ++i)
            bases[static_cast<size_t>(i)] = endpoints::defaultBase(static_cast<Endpoint>(i));
    }
};

// Request builders run on the user-interface thread, tests may repoint a service from theirs.
EndpointTable& table() {
    static EndpointTable instance;
    return instance;
}

size_t indexOf(Endpoint endpoint) {
    return static_cast<size_t>(endpoint);
}

QString urlOf(const EndpointBase& parts) {
    QString text = parts.scheme + u"://"_s;
    if (parts.host.contains(u':'))
        text += u'[' + parts.host + u']';
    else
        text += parts.host;
    if (parts.port != 0)
        text += u':' + QString::number(parts.port);
    return text + parts.pathPrefix;
}

} // namespace

namespace endpoints {

EndpointBase defaultBase(Endpoint endpoint) {
    switch (endpoint) {
    case Endpoint::GoogleWeb:
        return makeBase(u"https"_s, u"www.google.com"_s);
    case Endpoint::GoogleToolbar:
        return makeBase(u"http"_s, u"toolbarqueries.google.com"_s);
    case Endpoint::GoogleKeywordTool:
        return makeBase(u"https"_s, u"adwords.google.com"_s);
    case Endpoint::BingWeb:
        return makeBase(u"https"_s, u"www.bing.com"_s);
    case Endpoint::BingAdCenter:
        return makeBase(u"https"_s, u"adcenter.microsoft.com"_s);
    case Endpoint::BingAdLab:
        return makeBase(u"http"_s, u"adlab.microsoft.com"_s);
    case Endpoint::YahooWeb:
        return makeBase(u"https"_s, u"search.yahoo.com"_s);
    case Endpoint::YahooRedirect:
        return makeBase(u"http"_s, u"rds.yahoo.com"_s);
    case Endpoint::YahooMarketingSignIn:
        return makeBase(u"https"_s, u"login.marketingsolutions.yahoo.com"_s);
    case Endpoint::YahooMarketing:
        return makeBase(u"https"_s, u"marketingsolutions.yahoo.com"_s);
    case Endpoint::YahooSiteExplorer:
        return makeBase(u"http"_s, u"siteexplorer.search.yahoo.com"_s);
    case Endpoint::WordtrackerFree:
        return makeBase(u"http"_s, u"freekeywords.wordtracker.com"_s);
    case Endpoint::AskWeb:
        return makeBase(u"https"_s, u"www.ask.com"_s);
    case Endpoint::AlexaData:
        return makeBase(u"http"_s, u"data.alexa.com"_s);
    }
    return {};
}

EndpointBase base(Endpoint endpoint) {
    EndpointTable& endpoints = table();
    const std::lock_guard guard(endpoints.lock);
    return endpoints.bases[indexOf(endpoint)];
}

void set(Endpoint endpoint, const EndpointBase& base) {
    EndpointTable& endpoints = table();
    const std::lock_guard guard(endpoints.lock);
    endpoints.bases[indexOf(endpoint)] = base;
}

void resetToDefaults() {
    EndpointTable& endpoints = table();
    const std::lock_guard guard(endpoints.lock);
    endpoints.reset();
}

QString baseUrl(Endpoint endpoint) {
    return urlOf(base(endpoint));
}

QString baseUrlWithPort(Endpoint endpoint) {
    EndpointBase parts = base(endpoint);
    if (parts.port == 0)
        parts.port = parts.scheme == u"https"_s ? 443 : 80;
    return urlOf(parts);
}

QString url(Endpoint endpoint, const QString& pathAndQuery) {
    return baseUrl(endpoint) + pathAndQuery;
}

} // namespace endpoints
