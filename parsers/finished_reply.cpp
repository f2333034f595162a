#include "parsers/finished_reply.h"

#include "net/downloader.h"

const CDownloader_HTMLTags& FinishedTree(const CDownloader& downloader) {
    return downloader.Response().tree;
}

const QString& FinishedBody(const CDownloader& downloader) {
    return downloader.Response().body;
}
