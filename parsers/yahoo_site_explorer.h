#pragma once

#include <QString>

class CDownloader;
class CDownloader_HTMLTags;

// Site Explorer: the number of pages that link to a site.
namespace CDownloader_Parsers {

// Asks about site; one given without a scheme is asked as "http://" + site. False when the downloader is
// busy.
bool StartSiteExplorer(CDownloader& downloader, const QString& site);

// The number of linking pages, -2 when the reply gives none.
int ParseYahooBlocks(const CDownloader& downloader);
int ParseYahooBlocks(const CDownloader_HTMLTags& page);

} // namespace CDownloader_Parsers
