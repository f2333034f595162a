#include "core/atomic_file.h"
#include "core/limits.h"
#include "core/number_text.h"
#include "core/text_convert.h"
#include "core/url_coding.h"
#include "net/crawler_default.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "net/http_url.h"

#include <vector>

using namespace Qt::StringLiterals;

int CDownloader::ProcessResponse(const QByteArray& raw, int requestWord, const QString& url) {
    return Process(raw, requestWord, url).status;
}

bool CDownloader::LoadPageFromFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    Process(bytes, kRequestFile | kBuildTree, path);
    return true;
}

void CDownloader::ProcessEmpty(int requestWord, const QString& url, const QString& error) {
    {
        std::lock_guard guard(m_cs);
        if (!error.isEmpty() && !m_abort.load())
            m_lastError = error;
        m_header.clear();
    }
    Process({}, requestWord, url);
}

CDownloader::ProcessResult CDownloader::Process(QByteArray raw, int requestWord, const QString& url,
                                                bool exchangeFailed, std::optional<DechunkResult> dechunked) {
    std::lock_guard guard(m_cs);
    if (m_abort.load()) {
        DropJobLocked();
        return {kJobDropped, false};
    }
    m_state.store(kProcessing);

    QByteArray body = SplitHeader(std::move(raw), requestWord);
    const ResponseHead head = ParseResponseHead(m_header);
    m_status = head.statusLine;
    m_announcedLength = head.contentLength;
    const bool transferUndone = DecodeTransfer(head, body, dechunked);
    StoreCookies(head, url);
    if (Redirect(head, url)) {
        // Queued again at once, under the lock: a Release from now on drops the job.
        m_state.store(kQueued);
        return {head.status == 301 || head.status == 302 ? head.status : kFollowRedirect, true};
    }
    if (IsHttp(requestWord) && !exchangeFailed)
        CheckLength(head, body);
    DecodeBody(head, std::move(body), requestWord, transferUndone);
    BuildTree(requestWord, url);

    m_phase.store(WorkerPhase::Ready);
    m_state.store(kDone);
    return {head.status, false};
}

QByteArray CDownloader::SplitHeader(QByteArray raw, int requestWord) {
    // Only HTTP replies have a header: a saved value may hold a blank line, and so may a whois reply, whose
    // dates often follow one.
    const HeaderSplit split =
        IsHttp(requestWord) ? SplitHeaderBlock(raw, limits::kHeaderSearchBytes) : HeaderSplit{};
    if (split.headerLength < 0) {
        m_header.clear();
        return raw;
    }
    m_header = Utf8ToWide(QByteArrayView(raw).first(split.headerLength));
    // Removing the header from the front only moves where the bytes start: the body is not copied.
    raw.remove(0, split.bodyStart);
    return raw;
}

bool CDownloader::DecodeTransfer(const ResponseHead& head, QByteArray& body,
                                 std::optional<DechunkResult> dechunked) {
    QString error;
    const bool undone = UndoTransferCodings(head.transferCodings, body, error, dechunked);
    if (!error.isEmpty())
        m_lastError = error;
    return undone;
}

void CDownloader::StoreCookies(const ResponseHead& head, const QString& url) {
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

bool CDownloader::Redirect(const ResponseHead& head, const QString& url) {
    m_redirectUrl.clear();
    if (head.location.isEmpty())
        return false;
    m_redirectUrl = ::ResolveUrl(head.location, url);
    --m_redirectBudget;
    return m_redirectBudget > 0;
}

void CDownloader::CheckLength(const ResponseHead& head, const QByteArray& body) {
    if (!head.transferCodings.isEmpty() || !head.contentLength || body.size() >= *head.contentLength)
        return;
    m_lastError = u"Receive error: the reply ended after %1 of %2 bytes"_s.arg(
        number_text::FormatGrouped(body.size()), number_text::FormatGrouped(*head.contentLength));
}

void CDownloader::DecodeBody(const ResponseHead& head, QByteArray body, int requestWord,
                             bool transferUndone) {
    m_raw = std::move(body);
    // Content still wrapped in a transfer coding would not inflate: it is kept as it stands.
    const bool gzip = head.contentCoding.contains(u"gzip"_s);
    if (transferUndone && (gzip || head.contentCoding.contains(u"deflate"_s))) {
        QString error;
        InflateWithinLimit(m_raw, gzip, error);
        if (!error.isEmpty())
            m_lastError = error;
    }
    m_rawLength = static_cast<int>(m_raw.size());
    if (requestWord & (kKeepText | kBuildTree))
        m_body = Utf8ToWide(m_raw);
}

void CDownloader::BuildTree(int requestWord, const QString& url) {
    m_documentUrl = url;
    if (requestWord & kBuildTree) {
        // A fetched page may be a few kilobytes that inflate to millions of tags; a file of our own is
        // always read whole.
        if (!IsHttp(requestWord)) {
            m_tree.Parse(m_body);
        } else if (!m_tree.Parse(m_body, limits::kMaxPageNodes)) {
            m_lastError =
                u"Receive error: the page is too large to parse whole (more than %1 elements)"_s.arg(
                    number_text::FormatGrouped(limits::kMaxPageNodes));
        }
        // A saved file has no BASE element to honour; a web page may.
        if (!IsFile(requestWord)) {
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
