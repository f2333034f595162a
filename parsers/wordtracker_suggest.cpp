#include "parsers/wordtracker_suggest.h"

#include "core/url_coding.h"
#include "net/downloader.h"
#include "parsers/endpoints.h"

using namespace Qt::StringLiterals;

namespace CDownloader_Parsers {

bool StartWordtrackerSuggest(CDownloader& downloader, const QString& seed) {
    return downloader.Start(
        endpoints::Url(Endpoint::WordtrackerFree,
                       u"/?suggest=Hit+Me&adult_filter=remove_dubious&seed="_s + UrlEncode(seed, false)),
        false, false);
}

} // namespace CDownloader_Parsers
