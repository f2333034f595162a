#include "parsers/alexa_traffic.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"

using namespace Qt::StringLiterals;

namespace {

// The site as the service knows it: lower case, and "www." dropped only where it begins the host, so a
// name that merely holds those letters ("showww.com") is asked whole.
QString TrafficSite(const QString& site) {
    QString text = site.toLower();
    const qsizetype scheme = text.indexOf(u"://"_s);
    const qsizetype host = scheme < 0 ? 0 : scheme + 3;
    if (QStringView(text).sliced(host).startsWith(u"www."_s))
        text.remove(host, 4);
    return text;
}

} // namespace

namespace CDownloader_Parsers {

bool StartAlexaQuery(CDownloader& downloader, const QString& site) {
    return downloader.Start(
        endpoints::Url(Endpoint::AlexaData, u"/data?cli=10&dat=nsa&ver=quirk-searchstatus&url="_s +
                                                UrlEncode(TrafficSite(site), false)),
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
