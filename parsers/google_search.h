#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader;
class CDownloader_HTMLTags;

// Search engine 1's web result pages: the request and the organic-result, ad and result-count parsers.
// The parsers read a finished downloader's page tree (or a tree on its own) and never start a request; a
// page without the expected blocks gives an empty array or the no-data values.
namespace CDownloader_Parsers {

// The result page for keyword: count -1 means 10, start -1 means 0. The region comes from the crawler's
// Google_Country setting (the default region when there is no crawler).
void BuildGoogleSearchUrl(QString& url, const QString& keyword, int count, int start);
// Builds the URL and starts the downloader on it; false when the downloader is busy.
bool StartGoogleSearch(CDownloader& downloader, const QString& keyword, int count, int start);

bool ParseGoogleResults(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseGoogleResults(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

bool ParseGoogleAds(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseGoogleAds(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

// The first and last result shown and the total; -2 each when the page does not say (false then). Any
// output may be null.
bool ParseGoogleResultCount(const CDownloader& downloader, int* first, int* last, float* total);
bool ParseGoogleResultCount(const CDownloader_HTMLTags& page, int* first, int* last, float* total);

} // namespace CDownloader_Parsers

// The gl value of a result request: the first two characters of a Google_Country setting, lower-cased;
// empty when they are not two letters (the all-countries entry).
QString GoogleCountryCode(const QString& countrySetting);
