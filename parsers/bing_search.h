#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader;
class CDownloader_HTMLTags;

// Search engine 3's web result pages: the request with its market cookies, and the ad, organic-result and
// result-count parsers. The parsers never start a request; a page without the expected blocks gives an
// empty array or the no-data values.
namespace CDownloader_Parsers {

// The result page for keyword (count -1 means 10, start -1 means 0) in the market of the crawler's
// MSN_Country setting. Also puts the market cookies into the crawler's jar, so the page comes in that
// market's language.
void BuildBingSearchUrl(QString& url, const QString& keyword, int count, int start);
// Builds the URL and starts the downloader on it; false when the downloader is busy.
bool StartBingSearch(CDownloader& downloader, const QString& keyword, int count, int start);

// Ads of the top, side and bottom blocks, numbered over all three, with second_flag 1, 2 and 3.
bool ParseBingAds(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseBingAds(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

// Organic results, numbered from the first result the page says it shows.
bool ParseBingResults(const CDownloader& downloader, std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseBingResults(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_SE_result>& out);

// The first and last result shown and the total; -2 each when the page does not say (false then). Any
// output may be null.
bool ParseBingResultCount(const CDownloader& downloader, int* first, int* last, float* total);
bool ParseBingResultCount(const CDownloader_HTMLTags& page, int* first, int* last, float* total);

} // namespace CDownloader_Parsers

// The market of an MSN_Country setting ("83:en-US:United States - English"): the part between its first and
// second ":", or all after the first when there is no second; "en-US" when the setting has no ":".
QString BingMarket(const QString& countrySetting);

// A market as it goes into the request's query and into the market cookies: ASCII letters and digits, "-",
// "_" and "." stay ("en-GB" stays "en-GB"), every other byte of its UTF-8 form becomes %XX, so no setting can
// add a query field, a cookie or a header line.
QString EscapeBingMarket(const QString& market);

// The domain the market cookies are set for: the host without its first label and with a leading dot
// ("www.bing.com" gives ".bing.com"). An address or a single-label host has no domain: its own cookies
// are set for it alone. A host of two labels keeps both, since no site may set cookies for a bare suffix.
QString BingCookieDomain(const QString& host);
