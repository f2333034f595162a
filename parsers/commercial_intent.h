#pragma once

#include <QString>

class CDownloader;
class CDownloader_HTMLTags;

// The ad lab's public page that rates how commercial a query is. A new query takes two posts: the first
// fetches the page's hidden fields, the second, sent with them, is answered. The exchange lives in
// g_searchParsers.m_bing.
namespace CDownloader_Parsers {

// Posts query to the page (with the hidden fields of the last reply in front); false when the downloader
// is busy.
bool StartCommercialIntentQuery(CDownloader& downloader, const QString& query);

// The commercial intention in percent. -3.0 when the reply shows another query (the page does not answer
// yet: post again), -2.0 when it still does after the third post for the query (it will not answer: a
// final no-data value). Keeps the reply's hidden fields for the next post.
float ParseCommercialIntent(const CDownloader& downloader);
float ParseCommercialIntent(const CDownloader_HTMLTags& page);

} // namespace CDownloader_Parsers
