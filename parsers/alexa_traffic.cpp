#include "parsers/alexa_traffic.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "net/http_url.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"

using namespace Qt::StringLiterals;

namespace CDownloader_Parsers {

bool StartAlexaQuery(CDownloader& downloader, const QString& site) {
    return downloader.Start(
        endpoints::Url(Endpoint::AlexaData, u"/data?cli=10&dat=nsa&ver=quirk-searchstatus&url="_s +
                                                UrlEncode(SiteOfUrl(site, {.keepPort = true}), false)),
        false, false);
}

int ParseKeywordPopularity(const CDownloader& downloader) {
    return ParseKeywordPopularity(FinishedTree(downloader));
}

int ParseKeywordPopularity(const CDownloader_HTMLTags& reply) {
    const CDownloader_HTMLTags* popularity = reply.FindFirst({.tag = u"POPULARITY"_s});
    if (!popularity)
        return -2;
    return number_text::ReadInt(popularity->GetAttribute(u"TEXT"_s).remove(u',')).value_or(-2);
}

} // namespace CDownloader_Parsers
