#include "parsers/yahoo_search.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/organic_results.h"
#include "parsers/page_query.h"
#include "parsers/result_paging.h"
#include "parsers/result_text.h"

using namespace Qt::StringLiterals;
using namespace page_query;

namespace {

using Node = CDownloader_HTMLTags;
using Records = std::vector<CDownloader_Parsers_SE_result>;

// The crawler's own default region, for a request built without a crawler.
const QString kDefaultCountry = u"US_United States"_s;

// A link that still points at the redirect server: it begins with "http://" and the server's first label,
// and names the engine's domain (the server's name after that label) further on.
bool IsRedirectServerLink(const QString& link) {
    const QString host = endpoints::Base(Endpoint::YahooRedirect).host;
    const qsizetype dot = host.indexOf(u'.');
    if (dot < 0)
        return false;
    return link.startsWith(u"http://"_s + host.left(dot + 1), Qt::CaseInsensitive) &&
           link.indexOf(host.sliced(dot + 1), 1, Qt::CaseInsensitive) >= 0;
}

} // namespace

namespace CDownloader_Parsers {

void BuildYahooSearchUrl(QString& url, const QString& keyword, int count, int start) {
    ApplyDefaultPaging(count, start);
    // Percent-encoded: the setting is the user's text and goes into the query as it stands.
    const QString country =
        UrlEncode((g_pCrawler ? g_pCrawler->Yahoo_Country : kDefaultCountry).left(2).toLower(), false);
    url = endpoints::Url(Endpoint::YahooWeb, u"/search?ei=UTF-8&p="_s + UrlEncode(keyword, false) + u"&b="_s +
                                                 number_text::FormatInt(qint64(start) + 1) + u"&n="_s +
                                                 number_text::FormatInt(count) + u"&vc="_s + country);
}

bool StartYahooSearch(CDownloader& downloader, const QString& keyword, int count, int start) {
    QString url;
    BuildYahooSearchUrl(url, keyword, count, start);
    return downloader.Start(url, false, false);
}

bool ParseYahooAds(const CDownloader& downloader, Records& out) {
    return ParseYahooAds(FinishedTree(downloader), out);
}

bool ParseYahooAds(const Node& page, Records& out) {
    out.clear();
    const AdItems ads =
        CollectAdItems(page, {.tag = u"DIV"_s, .className = u"bbox"_s}, {.tag = u"DIV"_s, .id = u"right"_s});
    const std::vector<const Node*>& items = ads.items;
    out.reserve(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const Node* item = items[i];
        const Node* link = FindIn(item, {.tag = u"A"_s});
        const Node* text = FindIn(item, {.tag = u"DIV"_s});
        if (!link || !text)
            continue;
        // Number and block both come from where the ad stood, whatever was left out before it.
        out.push_back(result_text::AdRecord(link, link, TextOf(FindIn(item, {.tag = u"EM"_s})), text, i,
                                            ads.BlockOf(i)));
    }
    return true;
}

bool ParseYahooResults(const CDownloader& downloader, Records& out) {
    return ParseYahooResults(FinishedTree(downloader), out);
}

bool ParseYahooResults(const Node& page, Records& out) {
    int firstShown = -2;
    ParseYahooResultCount(page, &firstShown, nullptr, nullptr);
    organic_results::Read(page,
                          {.list = {.tag = u"DIV"_s, .id = u"web"_s},
                           .shownUrl = {.tag = u"SPAN"_s, .className = u"url"_s},
                           .snippet = {.tag = u"DIV"_s, .className = u"abstr"_s}},
                          firstShown, UnwrapYahooLink, out);
    return true;
}

bool ParseYahooResultCount(const CDownloader& downloader, int* first, int* last, float* total) {
    return ParseYahooResultCount(FinishedTree(downloader), first, last, total);
}

bool ParseYahooResultCount(const Node& page, int* first, int* last, float* total) {
    return result_text::ReadCountLine(FindIn(page.FindFirst({.tag = u"DIV"_s, .id = u"results"_s}),
                                             {.tag = u"SPAN"_s, .id = u"infotext"_s}),
                                      u"%d - %d of %f", first, last, total);
}

QString UnwrapYahooLink(const QString& link) {
    static const QString kTargetMarker = u"/**"_s;
    static const QString kHrefMarker = u"href="_s;
    QString target = link;
    const qsizetype marker = target.indexOf(kTargetMarker);
    if (marker >= 0)
        target = target.sliced(marker + kTargetMarker.size());
    target = UrlDecode(target, true);
    if (IsRedirectServerLink(target)) {
        const qsizetype href = target.indexOf(kHrefMarker);
        if (href >= 0)
            target = target.sliced(href + kHrefMarker.size());
        target = result_text::CutAt(target, u"&"_s);
    }
    return target;
}

} // namespace CDownloader_Parsers
