#include "parsers/yahoo_site_explorer.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/page_query.h"

using namespace Qt::StringLiterals;

namespace CDownloader_Parsers {

bool StartSiteExplorer(CDownloader& downloader, const QString& site) {
    const QString address = site.contains(u"://"_s) ? site : u"http://"_s + site;
    return downloader.Start(endpoints::Url(Endpoint::YahooSiteExplorer,
                                           u"/search?p="_s + UrlEncode(address, false) + u"&fr=sfp&bwm=i"_s),
                            false, false);
}

int ParseYahooBlocks(const CDownloader& downloader) {
    return ParseYahooBlocks(FinishedTree(downloader));
}

int ParseYahooBlocks(const CDownloader_HTMLTags& page) {
    const CDownloader_HTMLTags* count = page_query::FindIn(page.FindFirst({.tag = u"DIV"_s, .id = u"main"_s}),
                                                           {.tag = u"SPAN"_s, .className = u"btn"_s});
    // "Inlinks (12,345)": the digits of the first number, with its group separators dropped.
    QString text = page_query::TextOf(count).remove(u',');
    for (QChar& c : text)
        if (c < u'0' || c > u'9')
            c = u' ';
    return number_text::ReadInt(text).value_or(-2);
}

} // namespace CDownloader_Parsers
