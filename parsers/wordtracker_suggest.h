#pragma once

#include <QString>

class CDownloader;

// The free keyword suggestion tool: kind 1 reads its page itself.
namespace CDownloader_Parsers {

// Asks the tool for suggestions around seed; false when the downloader is busy.
bool StartWordtrackerSuggest(CDownloader& downloader, const QString& seed);

} // namespace CDownloader_Parsers
