#pragma once

#include <QString>

class CDownloader;
class CDownloader_HTMLTags;

// What a parser may read of a downloader: its reply once it is finished. Before that the worker thread owns
// the reply, so an unfinished downloader reads as an empty page.
const CDownloader_HTMLTags& FinishedTree(const CDownloader& downloader);
const QString& FinishedBody(const CDownloader& downloader);
