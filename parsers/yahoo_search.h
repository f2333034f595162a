#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader;
class CDownloader_HTMLTags;

// Search engine 2's web result pages: the request and the organic-result, ad and result-count parsers.
// The parsers read a finished downloader's page tree (or a tree on its own) and never start a request; a
// page without the expected blocks gives an empty array or the no-data values.
namespace CDownloader_Parsers {

// The result page for keyword: count -1 means 10, start -1 means 0. The region comes from the crawler's
// Yahoo_Country setting (the default region when there is no crawler).
void BuildYahooSearchUrl(QString& url, const QString& keyword, int count, int start);
// Builds the URL and starts the downloader on it; false when the downloader is busy.
bool StartYahooSearch(CDownloader& downloader, const QString& keyword, int count, int start);

// The ads of the top block (flag 1), the side block (2) and any further block (3), numbered together from
// 1. An ad without its link or text is left out; its number is not given to the next one.
bool ParseYahooAds(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseYahooAds(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

// The organic results, numbered from the first result the page says it shows.
bool ParseYahooResults(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseYahooResults(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

// The first and last result shown and the total; -2 each when the page does not say (false then). Any
// output may be null.
bool ParseYahooResultCount(const CDownloader& downloader, int* first, int* last, float* total);
bool ParseYahooResultCount(const CDownloader_HTMLTags& page, int* first, int* last, float* total);

// The target of a result link: the address after "/**" when there is one, URL-decoded with "+" as a
// blank; a link that still goes through the engine's redirect server gives its "href=" value up to the
// next "&".
QString UnwrapYahooLink(const QString& link);

} // namespace CDownloader_Parsers
