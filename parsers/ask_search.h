#pragma once

#include <QString>

class CDownloader;

// Ask's web search: kind 1 reads its result page itself.
namespace CDownloader_Parsers {

// Asks for the result page of keyword; false when the downloader is busy.
bool StartAskSearch(CDownloader& downloader, const QString& keyword);

} // namespace CDownloader_Parsers
