#include "core/atomic_file.h"
#include "core/limits.h"
#include "core/text_convert.h"
#include "core/url_coding.h"
#include "net/crawler_default.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "net/http_url.h"

#include <vector>

using namespace Qt::StringLiterals;

int CDownloader::ProcessResponse(const QByteArray& raw, int requestWord, const QString& url) {
    return process(raw, requestWord, url).status;
}

bool CDownloader::LoadPageFromFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    process(bytes, kRequestFile | kBuildTree, path);
    return true;
}

void CDownloader::processEmpty(int requestWord, const QString& url, const QString& error) {
    {
        std::lock_guard guard(m_cs);
        if (!error.isEmpty() && !m_abort.load())
            m_lastError = error;
        m_header.clear();
    }
    process({}, requestWord, url);
}

CDownloader::ProcessResult CDownloader::process(const QByteArray& raw, int requestWord, const QString& url) {
    std::lock_guard guard(m_cs);
    if (m_abort.load()) {
        dropJobLocked();
        return {kJobDropped, false};
    }
    m_state.store(kProcessing);

    QByteArray body = splitHeader(raw, requestWord);
    const ResponseHead head = ParseResponseHead(m_header);
    decodeTransfer(head, body);
    storeCookies(head, url);
    if (redirect(head, url)) {
        // Queued again at once, under the lock: a Release from now on drops the job.
        m_state.store(kQueued);
        return {head.status == 301 || head.status == 302 ? head.status : kFollowRedirect, true};
    }
    decodeBody(head, std::move(body), requestWord);
    buildTree(requestWord, url);

    m_phase.store(WorkerPhase::Ready);
    m_state.store(kDone);
    return {head.status, false};
}

QByteArray CDownloader::splitHeader(const QByteArray& raw, int requestWord) {
    if (isFile(requestWord)) {
        // A saved value may hold a blank line: a file has no header to split off.
        m_header.clear();
        return raw;
    }
    const HeaderSplit split = SplitHeaderBlock(raw, limits::kHeaderSearchBytes);
    if (split.headerLength < 0)
        return raw;
    m_header = Utf8ToWide(QByteArrayView(raw).first(split.headerLength));
    return raw.sliced(split.bodyStart);
}

void CDownloader::decodeTransfer(const ResponseHead& head, QByteArray& body) {
    if (!head.chunked)
        return;
    switch (Dechunk(body)) {
    case DechunkResult::Complete:
        break;
    case DechunkResult::Truncated:
        m_lastError = u"Receive error: the chunked body ends early"_s;
        break;
    case DechunkResult::Malformed:
        m_lastError = u"Receive error: the chunked body has a bad chunk size"_s;
        break;
    }
}

void CDownloader::storeCookies(const ResponseHead& head, const QString& url) {
    if (!m_crawler || head.setCookies.isEmpty())
        return;
    const HttpUrlParts urlParts = SplitHttpUrl(url);
    if (!urlParts.valid || urlParts.host.isEmpty())
        return;
    std::vector<CDownloader_Cookie> cookies;
    for (const QString& value : head.setCookies)
        CProjectCrawlerDefault::ParseSetCookie(value, urlParts.host, cookies);
    // Lock order: this downloader's, then the crawler's.
    if (!cookies.empty())
        m_crawler->AddCookies(cookies);
}

bool CDownloader::redirect(const ResponseHead& head, const QString& url) {
    m_redirectUrl.clear();
    if (head.location.isEmpty())
        return false;
    m_redirectUrl = ::ResolveUrl(head.location, url);
    --m_redirectBudget;
    return m_redirectBudget > 0;
}

void CDownloader::decodeBody(const ResponseHead& head, QByteArray body, int requestWord) {
    m_raw = std::move(body);
    const bool gzip = head.contentCoding.contains(u"gzip"_s);
    if (gzip || head.contentCoding.contains(u"deflate"_s)) {
        QByteArray inflated;
        switch (InflateBody(m_raw, gzip, limits::kMaxInflatedBytes, inflated)) {
        case InflateResult::Done:
            m_raw = std::move(inflated);
            break;
        case InflateResult::TooLarge:
            m_lastError =
                u"Receive error: the body inflates to more than %1 MB"_s.arg(limits::kMaxInflatedBytes >> 20);
            break;
        case InflateResult::Failed:
            break;
        }
    }
    m_rawLength = static_cast<int>(m_raw.size());
    if (requestWord & (kKeepText | kBuildTree))
        m_body = Utf8ToWide(m_raw);
}

void CDownloader::buildTree(int requestWord, const QString& url) {
    m_documentUrl = url;
    if (requestWord & kBuildTree) {
        m_tree.Parse(m_body);
        // A saved file has no BASE element to honour; a web page may.
        if (!isFile(requestWord)) {
            if (const CDownloader_HTMLTags* base =
                    m_tree.FindFirst({.tag = u"BASE"_s, .attribute = u"HREF"_s})) {
                const QString href = base->GetAttribute(u"HREF"_s);
                if (!href.isEmpty())
                    m_documentUrl = ::ResolveUrl(href, url);
            }
        }
    }
    m_baseUrl = UrlFolder(m_documentUrl);
}
