#include "parsers/ask_search.h"

#include "core/url_coding.h"
#include "net/downloader.h"
#include "parsers/endpoints.h"

using namespace Qt::StringLiterals;

namespace CDownloader_Parsers {

bool StartAskSearch(CDownloader& downloader, const QString& keyword) {
    return downloader.Start(
        endpoints::Url(Endpoint::AskWeb, u"/web?qsrc=0&o=&q="_s + UrlEncode(keyword, false)), false, false);
}

} // namespace CDownloader_Parsers
