#include "parsers/google_search.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
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

// All LI under the first element of that tag and id, appended to items.
void AppendItemsUnder(const Node& page, const QString& tag, const QString& id,
                      std::vector<const Node*>& items) {
    AppendItemsOf(page.FindFirst({.tag = tag, .id = id}), items);
}

// The result position from the link's click-tracking call: its fifth argument, when it has more than five.
int PositionFromClickHandler(const Node* link) {
    const QString handler = AttributeOf(link, u"onmousedown"_s).toLower();
    if (!handler.startsWith(u"return "_s))
        return -1;
    const qsizetype open = handler.indexOf(u'(');
    if (open < 0)
        return -1;
    QStringList arguments;
    ParseJsStringList(arguments, handler.sliced(open + 1));
    if (arguments.size() <= 5)
        return -1;
    return number_text::ReadInt(arguments[4]).value_or(-2);
}

} // namespace

QString GoogleCountryCode(const QString& countrySetting) {
    const QString code = countrySetting.left(2).toLower();
    auto isLetter = [](QChar c) { return c >= u'a' && c <= u'z'; };
    if (code.size() != 2 || !isLetter(code[0]) || !isLetter(code[1]))
        return {};
    return code;
}

namespace CDownloader_Parsers {

void BuildGoogleSearchUrl(QString& url, const QString& keyword, int count, int start) {
    ApplyDefaultPaging(count, start);
    const QString country = g_pCrawler ? g_pCrawler->Google_Country : kDefaultCountry;
    url = endpoints::Url(Endpoint::GoogleWeb, u"/search?hl=en&gl="_s + GoogleCountryCode(country) + u"&q="_s +
                                                  UrlEncode(keyword, false) + u"&start="_s +
                                                  number_text::FormatInt(start) + u"&num="_s +
                                                  number_text::FormatInt(count));
}

bool StartGoogleSearch(CDownloader& downloader, const QString& keyword, int count, int start) {
    QString url;
    BuildGoogleSearchUrl(url, keyword, count, start);
    return downloader.Start(url, false, false);
}

bool ParseGoogleResults(const CDownloader& downloader, Records& out) {
    return ParseGoogleResults(FinishedTree(downloader), out);
}

bool ParseGoogleResults(const Node& page, Records& out) {
    out.clear();
    std::vector<const Node*> items;
    AppendItemsUnder(page, u"DIV"_s, u"res"_s, items);
    out.reserve(items.size());
    for (const Node* item : items) {
        const Node* heading = FindIn(item, {.tag = u"H3"_s});
        const Node* link = FindIn(heading, {.tag = u"A"_s});
        const Node* snippet = FindIn(item, {.tag = u"DIV"_s, .className = u"s"_s});

        CDownloader_Parsers_SE_result record;
        record.full_url = AttributeOf(link, u"href"_s);
        // The engine's own links (more results, cached pages, news boxes) are no results.
        if (record.full_url.isEmpty() || record.full_url.contains(u".google."_s))
            continue;
        record.title = TextOf(heading);
        record.show_url = result_text::CutAt(TextOf(FindIn(snippet, {.tag = u"CITE"_s})), u" - "_s);
        record.body = SnippetOf(snippet);
        result_text::CleanBodyAndSplitLines(record);
        record.pos = PositionFromClickHandler(link);
        out.push_back(std::move(record));
    }
    return true;
}

bool ParseGoogleAds(const CDownloader& downloader, Records& out) {
    return ParseGoogleAds(FinishedTree(downloader), out);
}

bool ParseGoogleAds(const Node& page, Records& out) {
    out.clear();
    std::vector<const Node*> items;
    AppendItemsUnder(page, u"DIV"_s, u"tads"_s, items);
    const size_t topCount = items.size();
    AppendItemsUnder(page, u"TABLE"_s, u"mbEnd"_s, items);
    out.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const Node* item = items[i];
        const Node* heading = FindIn(item, {.tag = u"H3"_s});
        out[i] =
            result_text::AdRecord(heading, FindIn(heading, {.tag = u"A"_s}),
                                  TextOf(FindIn(item, {.tag = u"CITE"_s})), item, i, i < topCount ? 1 : 2);
    }
    return true;
}

bool ParseGoogleResultCount(const CDownloader& downloader, int* first, int* last, float* total) {
    return ParseGoogleResultCount(FinishedTree(downloader), first, last, total);
}

bool ParseGoogleResultCount(const Node& page, int* first, int* last, float* total) {
    return result_text::ReadCountLine(
        FindIn(page.FindFirst({.tag = u"DIV"_s, .id = u"ssb"_s}), {.tag = u"P"_s}), u"Results %d - %d of %f",
        first, last, total);
}

} // namespace CDownloader_Parsers
