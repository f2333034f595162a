#pragma once

#include <QString>

class CDownloader;
class CDownloader_HTMLTags;

// The traffic data service: the traffic rank of a site.
namespace CDownloader_Parsers {

// Asks for the rank of site, in lower case and without a leading "www." on its host; false when the
// downloader is busy.
bool StartAlexaQuery(CDownloader& downloader, const QString& site);

// The rank from the reply's POPULARITY element, -2 when it gives none.
int ParseKeywordPopularity(const CDownloader& downloader);
int ParseKeywordPopularity(const CDownloader_HTMLTags& reply);

} // namespace CDownloader_Parsers
