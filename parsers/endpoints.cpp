#include "parsers/endpoints.h"

#include <array>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

EndpointBase MakeBase(const QString& scheme, const QString& host) {
    EndpointBase base;
    base.scheme = scheme;
    base.host = host;
    return base;
}

struct EndpointTable {
    std::mutex lock;
    std::array<EndpointBase, kEndpointCount> bases;

    EndpointTable() { Reset(); }
    void Reset() {
        for (int i = 0; i < kEndpointCount; ++i)
            bases[static_cast<size_t>(i)] = endpoints::DefaultBase(static_cast<Endpoint>(i));
    }
};

// Request builders run on the user-interface thread, tests may repoint a service from theirs.
EndpointTable& Table() {
    static EndpointTable instance;
    return instance;
}

size_t IndexOf(Endpoint endpoint) {
    return static_cast<size_t>(endpoint);
}

QString UrlOf(const EndpointBase& parts) {
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

EndpointBase DefaultBase(Endpoint endpoint) {
    switch (endpoint) {
    case Endpoint::GoogleWeb:
        return MakeBase(u"https"_s, u"www.google.com"_s);
    case Endpoint::GoogleToolbar:
        return MakeBase(u"http"_s, u"toolbarqueries.google.com"_s);
    case Endpoint::GoogleKeywordTool:
        return MakeBase(u"https"_s, u"adwords.google.com"_s);
    case Endpoint::BingWeb:
        return MakeBase(u"https"_s, u"www.bing.com"_s);
    case Endpoint::BingAdCenter:
        return MakeBase(u"https"_s, u"adcenter.microsoft.com"_s);
    case Endpoint::BingAdLab:
        return MakeBase(u"http"_s, u"adlab.microsoft.com"_s);
    case Endpoint::YahooWeb:
        return MakeBase(u"https"_s, u"search.yahoo.com"_s);
    case Endpoint::YahooRedirect:
        return MakeBase(u"http"_s, u"rds.yahoo.com"_s);
    case Endpoint::YahooMarketingSignIn:
        return MakeBase(u"https"_s, u"login.marketingsolutions.yahoo.com"_s);
    case Endpoint::YahooMarketing:
        return MakeBase(u"https"_s, u"marketingsolutions.yahoo.com"_s);
    case Endpoint::YahooSiteExplorer:
        return MakeBase(u"http"_s, u"siteexplorer.search.yahoo.com"_s);
    case Endpoint::WordtrackerFree:
        return MakeBase(u"http"_s, u"freekeywords.wordtracker.com"_s);
    case Endpoint::AskWeb:
        return MakeBase(u"https"_s, u"www.ask.com"_s);
    case Endpoint::AlexaData:
        return MakeBase(u"http"_s, u"data.alexa.com"_s);
    }
    return {};
}

EndpointBase Base(Endpoint endpoint) {
    EndpointTable& endpoints = Table();
    const std::lock_guard guard(endpoints.lock);
    return endpoints.bases[IndexOf(endpoint)];
}

void Set(Endpoint endpoint, const EndpointBase& base) {
    EndpointTable& endpoints = Table();
    const std::lock_guard guard(endpoints.lock);
    endpoints.bases[IndexOf(endpoint)] = base;
}

void ResetToDefaults() {
    EndpointTable& endpoints = Table();
    const std::lock_guard guard(endpoints.lock);
    endpoints.Reset();
}

QString BaseUrl(Endpoint endpoint) {
    return UrlOf(Base(endpoint));
}

QString BaseUrlWithPort(Endpoint endpoint) {
    EndpointBase parts = Base(endpoint);
    if (parts.port == 0)
        parts.port = parts.scheme == u"https"_s ? 443 : 80;
    return UrlOf(parts);
}

QString Url(Endpoint endpoint, const QString& pathAndQuery) {
    return BaseUrl(endpoint) + pathAndQuery;
}

} // namespace endpoints
