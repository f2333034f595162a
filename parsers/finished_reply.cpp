#include "parsers/finished_reply.h"

#include "net/downloader.h"

const CDownloader_HTMLTags& FinishedTree(const CDownloader& downloader) {
    static const CDownloader_HTMLTags kEmptyPage;
    return downloader.IsFinished() ? downloader.m_tree : kEmptyPage;
}

QString FinishedBody(const CDownloader& downloader) {
    return downloader.IsFinished() ? downloader.m_body : QString();
}
