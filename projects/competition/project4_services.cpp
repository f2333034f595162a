#include "projects/competition/project4_services.h"

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

// The search requests ask the engines in their shown order.
const SearchEngine& EngineOf(Project4Request request) {
    return SearchEngineAt(static_cast<int>(request) - static_cast<int>(Project4Request::Google));
}

bool IsSearch(Project4Request request) {
    return request == Project4Request::Google || request == Project4Request::Bing ||
           request == Project4Request::Yahoo;
}

} // namespace

namespace project4_services {

QString PacingName(Project4Request request) {
    switch (request) {
    case Project4Request::Volume:
        return u"Google Bids"_s;
    case Project4Request::Google:
    case Project4Request::Bing:
    case Project4Request::Yahoo:
        return EngineOf(request).Pacing();
    case Project4Request::PageRank:
        return u"Google PR"_s;
    case Project4Request::Inlinks:
        return u"Yahoo Site Explorer"_s;
    case Project4Request::Traffic:
        return u"Alexa"_s;
    case Project4Request::Whois:
        return u"WhoIs"_s;
    }
    return {};
}

QString ServiceName(Project4Request request) {
    switch (request) {
    case Project4Request::Volume:
        return u"Keyword tool"_s;
    case Project4Request::Google:
    case Project4Request::Bing:
    case Project4Request::Yahoo:
        return EngineOf(request).Name();
    case Project4Request::PageRank:
        return u"Page rank"_s;
    case Project4Request::Inlinks:
        return u"Site Explorer"_s;
    case Project4Request::Traffic:
        return u"Traffic rank"_s;
    case Project4Request::Whois:
        return u"Whois"_s;
    }
    return {};
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
        return EngineOf(request).start(downloader, data.Keywords().at(index).keyword, -1, -1);
    const QString& site = data.Sites().at(index).site;
    switch (request) {
    case Project4Request::PageRank:
        return P::StartGooglePageRank(downloader, u"http://"_s + site + u"/"_s);
    case Project4Request::Inlinks:
        return P::StartSiteExplorer(downloader, site);
    case Project4Request::Traffic:
        return P::StartAlexaQuery(downloader, site);
    case Project4Request::Whois:
        // Whois servers know registered names, not the web host in front of them.
        return downloader.StartWhois(SiteOfUrl(site));
    default:
        return false;
    }
}

void Store(Project4Request request, const CDownloader& downloader, CProject4_Data& data, int task) {
    if (IsSearch(request)) {
        const SearchEngine& engine = EngineOf(request);
        float total = -2.0f;
        engine.count(downloader, nullptr, nullptr, &total);
        std::vector<CDownloader_Parsers_SE_result> results;
        engine.results(downloader, results);
        data.StoreSearch(task, static_cast<int>(request) - static_cast<int>(Project4Request::Google), total,
                         results);
        return;
    }
    int value = -2;
    switch (request) {
    case Project4Request::PageRank:
        value = P::ParsePageRank(downloader);
        break;
    case Project4Request::Inlinks:
        value = P::ParseYahooBlocks(downloader);
        break;
    case Project4Request::Traffic:
        value = P::ParseKeywordPopularity(downloader);
        break;
    case Project4Request::Whois:
        value = P::ParseWhoisCreationDate(downloader);
        break;
    default:
        break;
    }
    data.StoreSite(request, task, value);
}

} // namespace project4_services
