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
    return process(raw, requestWord, url, true);
}

bool CDownloader::LoadPageFromFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    process(bytes, kRequestFile | kBuildTree, path, false);
    return true;
}

void CDownloader::processEmpty(int requestWord, const QString& url, const QString& error) {
    {
        std::lock_guard guard(m_cs);
        if (!error.isEmpty() && !m_abort.load())
            m_lastError = error;
        m_header.clear();
    }
    process({}, requestWord, url, true);
}

int CDownloader::process(const QByteArray& raw, int requestWord, const QString& url, bool splitHeader,
                         bool* follow) {
    std::lock_guard guard(m_cs);
    if (follow)
        *follow = false;
    if (m_abort.load()) {
        dropJobLocked();
        return kJobDropped;
    }
    m_state.store(kProcessing);

    QByteArray body;
    if (!splitHeader) {
        m_header.clear();
        body = raw;
    } else if (const qsizetype end = FindHeaderBlockEnd(raw, limits::kHeaderSearchBytes); end >= 0) {
        m_header = Utf8ToWide(QByteArrayView(raw).first(end));
        body = raw.sliced(end + 4);
    } else {
        body = raw;
    }

    m_redirectUrl.clear();
    const ResponseHead head = ParseResponseHead(m_header);
    if (head.chunked) {
        const DechunkResult result = Dechunk(body);
        if (result == DechunkResult::Truncated)
            m_lastError = u"Receive error: the chunked body ends early"_s;
        else if (result == DechunkResult::Malformed)
            m_lastError = u"Receive error: the chunked body has a bad chunk size"_s;
    }

    const HttpUrlParts urlParts = SplitHttpUrl(url);
    const QString cookieHost = urlParts.valid ? urlParts.host : QString();
    if (m_crawler && !cookieHost.isEmpty() && !head.setCookies.isEmpty()) {
        std::vector<CDownloader_Cookie> cookies;
        for (const QString& value : head.setCookies)
            CProjectCrawlerDefault::ParseSetCookie(value, cookieHost, cookies);
        if (!cookies.empty())
            m_crawler->AddCookies(cookies);
    }

    if (!head.location.isEmpty()) {
        m_redirectUrl = ::ResolveUrl(head.location, url);
        --m_redirectBudget;
        if (m_redirectBudget > 0) {
            // Queued again at once, under the lock: a Release from now on drops the job.
            m_state.store(kQueued);
            if (follow)
                *follow = true;
            return head.status == 301 || head.status == 302 ? head.status : kFollowRedirect;
        }
    }

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

    m_documentUrl = url;
    if (requestWord & kBuildTree) {
        m_tree.Parse(m_body);
        // A saved file has no BASE element to honour; a web page may.
        if (splitHeader) {
            if (const CDownloader_HTMLTags* base = m_tree.FindFirst(u"BASE"_s, {}, {}, {}, u"HREF"_s)) {
                const QString href = base->GetAttribute(u"HREF"_s);
                if (!href.isEmpty())
                    m_documentUrl = ::ResolveUrl(href, url);
            }
        }
    }
    m_baseUrl = UrlFolder(m_documentUrl);

    m_phase.store(WorkerPhase::Ready);
    m_state.store(kDone);
    return head.status;
}
