#pragma once

#include <QString>

class CDownloader;
class CDownloader_HTMLTags;

// The traffic data service: the traffic rank of a site.
namespace CDownloader_Parsers {

// Asks for the rank of site, as SiteOfUrl gives it with its port kept (lower case, without the host's
// leading "www."; an address whole is asked by its site); false when the downloader is busy.
bool StartAlexaQuery(CDownloader& downloader, const QString& site);

// The rank from the reply's POPULARITY element, -2 when it gives none.
int ParseKeywordPopularity(const CDownloader& downloader);
int ParseKeywordPopularity(const CDownloader_HTMLTags& reply);

} // namespace CDownloader_Parsers
