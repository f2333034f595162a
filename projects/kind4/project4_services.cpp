#include "projects/kind4/project4_services.h"

#include "net/downloader.h"
#include "net/http_url.h"
#include "parsers/alexa_traffic.h"
#include "parsers/google_page_rank.h"
#include "parsers/whois_creation_date.h"
#include "parsers/yahoo_site_explorer.h"
#include "projects/common/search_engine.h"

using namespace Qt::StringLiterals;
namespace P = CDownloader_Parsers;

namespace {

// How each request is paced, named in errors, started for a site and read; the searches take all of it from
// their engine, and the keyword tool is started and read by the project.
struct Service {
    const char16_t* pacing;
    const char16_t* name;
    bool (*start)(CDownloader& downloader, const QString& site);
    int (*parse)(const CDownloader& downloader);
};

const Service kServices[kProject4RequestCount] = {
    {u"Google Bids", u"Keyword tool", nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {u"Google PR", u"Page rank",
     [](CDownloader& d, const QString& site) {
         return P::StartGooglePageRank(d, u"http://"_s + site + u"/"_s);
     },
     [](const CDownloader& d) { return P::ParsePageRank(d); }},
    {u"Yahoo Site Explorer", u"Site Explorer", P::StartSiteExplorer,
     [](const CDownloader& d) { return P::ParseYahooBlocks(d); }},
    {u"Alexa", u"Traffic rank", P::StartAlexaQuery,
     [](const CDownloader& d) { return P::ParseKeywordPopularity(d); }},
    // Whois servers know registered names, not the web host in front of them.
    {u"WhoIs", u"Whois", [](CDownloader& d, const QString& site) { return d.StartWhois(SiteOfUrl(site)); },
     [](const CDownloader& d) { return P::ParseWhoisCreationDate(d); }},
};

const Service& ServiceOf(Project4Request request) {
    return kServices[static_cast<std::size_t>(request)];
}

bool IsSearch(Project4Request request) {
    return request == Project4Request::Google || request == Project4Request::Bing ||
           request == Project4Request::Yahoo;
}

// The search requests ask the engines in their shown order.
int EngineIndexOf(Project4Request request) {
    return static_cast<int>(request) - static_cast<int>(Project4Request::Google);
}

} // namespace

namespace project4_services {

QString PacingName(Project4Request request) {
    return IsSearch(request) ? SearchEngineAt(EngineIndexOf(request)).Pacing()
                             : QString::fromUtf16(ServiceOf(request).pacing);
}

QString ServiceName(Project4Request request) {
    return IsSearch(request) ? SearchEngineAt(EngineIndexOf(request)).Name()
                             : QString::fromUtf16(ServiceOf(request).name);
}

QString Subject(Project4Request request, const CProject4_Data& data, int task) {
    const auto index = static_cast<std::size_t>(task);
    if (request == Project4Request::Volume)
        return data.KeywordsWithoutVolume().join(u", "_s);
    if (IsSearch(request))
        return index < data.Keywords().size() ? data.Keywords()[index].keyword : QString();
    return index < data.Sites().size() ? data.Sites()[index].site : QString();
}

bool Start(Project4Request request, CDownloader& downloader, const CProject4_Data& data, int task) {
    const auto index = static_cast<std::size_t>(task);
    if (IsSearch(request))
        return SearchEngineAt(EngineIndexOf(request))
            .start(downloader, data.Keywords().at(index).keyword, SearchEngine::kDefaultCount,
                   SearchEngine::kFirstResult);
    const Service& service = ServiceOf(request);
    return service.start && service.start(downloader, data.Sites().at(index).site);
}

void Store(Project4Request request, const CDownloader& downloader, CProject4_Data& data, int task) {
    if (IsSearch(request)) {
        const SearchEngine& engine = SearchEngineAt(EngineIndexOf(request));
        float total = task_value::kNoData;
        engine.count(downloader, nullptr, nullptr, &total);
        std::vector<CDownloader_Parsers_SE_result> results;
        engine.results(downloader, results);
        data.StoreSearch(task, EngineIndexOf(request), total, results);
        return;
    }
    const Service& service = ServiceOf(request);
    data.StoreSite(request, task, service.parse ? service.parse(downloader) : task_value::kNoData);
}

} // namespace project4_services
