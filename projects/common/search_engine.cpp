#include "projects/common/search_engine.h"

#include "parsers/bing_search.h"
#include "parsers/google_search.h"
#include "parsers/yahoo_search.h"

namespace P = CDownloader_Parsers;

namespace {

const SearchEngine kEngines[kSearchEngineCount] = {
    {kEngineGoogle, u"Google", u"Google", P::BuildGoogleSearchUrl, P::StartGoogleSearch,
     P::ParseGoogleResultCount, P::ParseGoogleAds, P::ParseGoogleResults},
    {kEngineBing, u"Bing", u"MSN", P::BuildBingSearchUrl, P::StartBingSearch, P::ParseBingResultCount,
     P::ParseBingAds, P::ParseBingResults},
    {kEngineYahoo, u"Yahoo", u"Yahoo!", P::BuildYahooSearchUrl, P::StartYahooSearch, P::ParseYahooResultCount,
     P::ParseYahooAds, P::ParseYahooResults},
};

} // namespace

QString SearchEngine::SearchUrl(const QString& query, int start) const {
    QString url;
    buildUrl(url, query, kDefaultCount, start);
    return url;
}

const SearchEngine& SearchEngineAt(int index) {
    return kEngines[index];
}

const SearchEngine* FindSearchEngine(int id) {
    for (const SearchEngine& engine : kEngines)
        if (engine.id == id)
            return &engine;
    return nullptr;
}

QString EngineName(int engine) {
    const SearchEngine* found = FindSearchEngine(engine);
    return found ? found->Name() : QString();
}
