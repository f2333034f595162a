#include "projects/competition/project3_search_engine.h"

#include "parsers/bing_search.h"
#include "parsers/google_search.h"
#include "parsers/yahoo_search.h"

using namespace Qt::StringLiterals;

QString EngineName(int engine) {
    switch (engine) {
    case kEngineGoogle:
        return u"Google"_s;
    case kEngineBing:
        return u"Bing"_s;
    case kEngineYahoo:
        return u"Yahoo"_s;
    default:
        return QString();
    }
}

QString EngineService(int engine) {
    switch (engine) {
    case kEngineGoogle:
        return u"Google"_s;
    case kEngineBing:
        return u"MSN"_s;
    case kEngineYahoo:
        return u"Yahoo!"_s;
    default:
        return QString();
    }
}

QString EngineSearchUrl(int engine, const QString& query, int start) {
    QString url;
    switch (engine) {
    case kEngineGoogle:
        CDownloader_Parsers::BuildGoogleSearchUrl(url, query, -1, start);
        break;
    case kEngineBing:
        CDownloader_Parsers::BuildBingSearchUrl(url, query, -1, start);
        break;
    case kEngineYahoo:
        CDownloader_Parsers::BuildYahooSearchUrl(url, query, -1, start);
        break;
    default:
        break;
    }
    return url;
}

bool StartEngineSearch(int engine, CDownloader& downloader, const QString& query, int start) {
    switch (engine) {
    case kEngineGoogle:
        return CDownloader_Parsers::StartGoogleSearch(downloader, query, -1, start);
    case kEngineBing:
        return CDownloader_Parsers::StartBingSearch(downloader, query, -1, start);
    case kEngineYahoo:
        return CDownloader_Parsers::StartYahooSearch(downloader, query, -1, start);
    default:
        return false;
    }
}

bool ParseEngineAds(int engine, const CDownloader& downloader,
                    std::vector<CDownloader_Parsers_SE_result>& out) {
    switch (engine) {
    case kEngineGoogle:
        return CDownloader_Parsers::ParseGoogleAds(downloader, out);
    case kEngineBing:
        return CDownloader_Parsers::ParseBingAds(downloader, out);
    case kEngineYahoo:
        return CDownloader_Parsers::ParseYahooAds(downloader, out);
    default:
        out.clear();
        return false;
    }
}

bool ParseEngineResults(int engine, const CDownloader& downloader,
                        std::vector<CDownloader_Parsers_SE_result>& out) {
    switch (engine) {
    case kEngineGoogle:
        return CDownloader_Parsers::ParseGoogleResults(downloader, out);
    case kEngineBing:
        return CDownloader_Parsers::ParseBingResults(downloader, out);
    case kEngineYahoo:
        return CDownloader_Parsers::ParseYahooResults(downloader, out);
    default:
        out.clear();
        return false;
    }
}
