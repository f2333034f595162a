#include "parsers/bing_search.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/cookie_domain.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/organic_results.h"
#include "parsers/page_query.h"
#include "parsers/result_paging.h"
#include "parsers/result_text.h"
#include "parsers/scan_format.h"

using namespace Qt::StringLiterals;
using namespace page_query;

namespace {

using Node = CDownloader_HTMLTags;
using Records = std::vector<CDownloader_Parsers_SE_result>;

// The crawler's own default region, for a request built without a crawler.
const QString kDefaultCountry = u"83:en-US:United States - English"_s;
const QString kDefaultMarket = u"en-US"_s;

void AddMarketCookies(const QString& market) {
    if (!g_pCrawler)
        return;
    const QString host = endpoints::Base(Endpoint::BingWeb).host;
    const QString domain = BingCookieDomain(host);
    std::vector<CDownloader_Cookie> cookies;
    for (const QString& name : {u"_FP"_s, u"_FS"_s}) {
        CDownloader_Cookie cookie;
        cookie.domain = domain.isEmpty() ? host : domain;
        cookie.name = name;
        cookie.text = name + u"=mkt="_s + market + u"&ui=en-US"_s;
        cookies.push_back(std::move(cookie));
    }
    g_pCrawler->AddCookies(cookies);
}

} // namespace

QString BingMarket(const QString& countrySetting) {
    const qsizetype first = countrySetting.indexOf(u':');
    if (first < 0)
        return kDefaultMarket;
    const qsizetype second = countrySetting.indexOf(u':', first + 1);
    return second < 0 ? countrySetting.sliced(first + 1)
                      : countrySetting.sliced(first + 1, second - first - 1);
}

QString EscapeBingMarket(const QString& market) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    QString out;
    for (const char c : market.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                          (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.';
        if (kept) {
            out += QLatin1Char(c);
        } else {
            out += u'%';
            out += QLatin1Char(kHex[byte >> 4]);
            out += QLatin1Char(kHex[byte & 0x0F]);
        }
    }
    return out;
}

QString BingCookieDomain(const QString& host) {
    const QString name = CookieHost(host);
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0 || IsIpAddress(name))
        return {};
    const QString parent = name.sliced(dot + 1);
    return u'.' + (parent.contains(u'.') ? parent : name);
}

namespace CDownloader_Parsers {

void BuildBingSearchUrl(QString& url, const QString& keyword, int count, int start) {
    ApplyDefaultPaging(count, start);
    // The setting is the user's text and goes into a query and into cookie values.
    const QString market =
        EscapeBingMarket(BingMarket(g_pCrawler ? g_pCrawler->MSN_Country : kDefaultCountry));
    url = endpoints::Url(Endpoint::BingWeb, u"/search?q="_s + UrlEncode(keyword, false) + u"&first="_s +
                                                number_text::FormatInt(start) + u"&count="_s +
                                                number_text::FormatInt(count) + u"&setmkt="_s + market +
                                                u"&setlang=en"_s);
    AddMarketCookies(market);
}

bool StartBingSearch(CDownloader& downloader, const QString& keyword, int count, int start) {
    QString url;
    BuildBingSearchUrl(url, keyword, count, start);
    return downloader.Start(url, false, false);
}

bool ParseBingAds(const CDownloader& downloader, Records& out) {
    return ParseBingAds(FinishedTree(downloader), out);
}

bool ParseBingAds(const Node& page, Records& out) {
    out.clear();
    const AdItems ads = CollectAdItems(page, {.tag = u"DIV"_s, .className = u"sb_adsW"_s},
                                       {.tag = u"DIV"_s, .className = u"sb_adsN"_s});
    const std::vector<const Node*>& items = ads.items;
    out.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const Node* item = items[i];
        out[i] = result_text::AdRecord(FindIn(item, {.tag = u"H3"_s}), FindIn(item, {.tag = u"A"_s}),
                                       TextOf(FindIn(item, {.tag = u"CITE"_s})).remove(u" - "_s),
                                       FindIn(item, {.tag = u"P"_s}), i, ads.BlockOf(i));
    }
    return true;
}

bool ParseBingResults(const CDownloader& downloader, Records& out) {
    return ParseBingResults(FinishedTree(downloader), out);
}

bool ParseBingResults(const Node& page, Records& out) {
    int firstShown = -2;
    ParseBingResultCount(page, &firstShown, nullptr, nullptr);
    organic_results::Read(page,
                          {.list = {.tag = u"DIV"_s, .id = u"results"_s},
                           .shownUrl = {.tag = u"CITE"_s},
                           .snippet = {.tag = u"P"_s}},
                          firstShown, nullptr, out);
    return true;
}

bool ParseBingResultCount(const CDownloader& downloader, int* first, int* last, float* total) {
    return ParseBingResultCount(FinishedTree(downloader), first, last, total);
}

bool ParseBingResultCount(const Node& page, int* first, int* last, float* total) {
    int firstShown = -2;
    int lastShown = -2;
    float totalCount = -2.0f;
    const Node* line = FindIn(page.FindFirst({.tag = u"DIV"_s, .id = u"results_container"_s}),
                              {.tag = u"SPAN"_s, .id = u"count"_s});
    if (line) {
        // Dots and commas both group thousands, depending on the market.
        QString text = TextOf(line).trimmed().remove(u'.').trimmed().remove(u',');
        for (QChar& c : text)
            if (!(c.isDigit() && c.unicode() < 0x80) && c != u' ' && c != u'-')
                c = u' ';
        ScanFormat(text, u"%d - %d %f", {firstShown, lastShown, totalCount});
    }
    result_text::StoreCount(firstShown, lastShown, totalCount, first, last, total);
    return line != nullptr;
}

} // namespace CDownloader_Parsers
