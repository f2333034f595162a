#include "net/downloader.h"

#include "core/limits.h"
#include "core/url_coding.h"
#include "net/crawler_default.h"
#include "net/saved_file.h"

#include <system_error>

CDownloader::CDownloader(int poolIndex, CProjectCrawlerDefault* crawler)
    : m_poolIndex(poolIndex), m_crawler(crawler) {
    Reset();
    m_jobId.store(-1);
    if (poolIndex < 0)
        return;
    // Alive from the start: a Start given before the thread first parks is remembered, not lost.
    m_threadAlive.store(true);
    try {
        m_thread = std::thread(&CDownloader::ThreadProc, this);
    } catch (const std::system_error&) {
        // No thread to be had: the slot stays out of service rather than taking jobs nobody runs.
        m_threadAlive.store(false);
    }
}

CDownloader::~CDownloader() {
    if (m_thread.joinable()) {
        Stop();
        m_thread.join();
    }
}

void CDownloader::Reset() {
    std::lock_guard guard(m_cs);
    const int state = m_state.load();
    // A queued or running job belongs to the worker; only Release may end it.
    if (state == kIdle || state == kQueued || state == kProcessing)
        return;
    ResetLocked();
}

void CDownloader::ResetLocked() {
    m_userAgent = kDefaultUserAgent;
    m_contentType = kDefaultContentType;
    m_postData.clear();
    m_url.clear();
    m_referer.clear();
    m_request = 0;
    m_redirectBudget = 0;
    m_state.store(kIdle);
    m_body.clear();
    m_header.clear();
    m_status = HttpStatus();
    m_announcedLength.reset();
    // Storage a taker still shares is not written into again.
    if (m_raw.isDetached())
        KeepReceiveBuffer(std::move(m_raw));
    m_raw = QByteArray();
    m_rawLength = 0;
}

void CDownloader::SetPostData(const QString& data) {
    std::lock_guard guard(m_cs);
    m_postData = data;
}

void CDownloader::SetContentType(const QString& contentType) {
    std::lock_guard guard(m_cs);
    m_contentType = contentType;
}

void CDownloader::SetUserAgent(const QString& userAgent) {
    std::lock_guard guard(m_cs);
    m_userAgent = userAgent;
}

void CDownloader::SetReferer(const QString& referer) {
    std::lock_guard guard(m_cs);
    m_referer = referer;
}

bool CDownloader::Start(const QString& url, bool keepBinary, bool noTree) {
    return Queue(url, (keepBinary ? 0 : kKeepText) | (noTree ? 0 : kBuildTree), true);
}

bool CDownloader::StartWhois(const QString& domain) {
    return Queue(domain, kRequestWhois | kKeepText, false);
}

bool CDownloader::Queue(const QString& target, int requestWord, bool http) {
    {
        std::lock_guard guard(m_cs);
        const int state = m_state.load();
        if (state == kQueued || state == kProcessing || !m_threadAlive.load())
            return false;
        if (state != kIdle)
            ResetLocked();
        // Read after the reset: a done downloader drops its old body and sends a GET.
        if (http)
            requestWord |= m_postData.isEmpty() ? kRequestGet : kRequestPost;
        m_request = requestWord;
        m_url = target;
        m_received.store(0);
        // A job reports its own failure only: the error of the job before it goes now, not when the slot
        // is reset (a reset keeps it).
        m_lastError.clear();
        // An abort left from an earlier Stop or drop must not cancel this job.
        m_abort.store(false);
        m_state.store(kQueued);
    }
    Wake();
    return true;
}

DownloadResponse CDownloader::Response() const {
    std::lock_guard guard(m_cs);
    if (m_state.load() != kDone) {
        static const QString kNoText;
        static const QByteArray kNoBytes;
        static const CDownloader_HTMLTags kNoTree;
        static const HttpStatus kNoStatus;
        static const std::optional<qint64> kNoLength;
        return {kNoStatus, kNoLength, kNoText, kNoText, kNoBytes, kNoTree, kNoText, kNoText, kNoText};
    }
    return {m_status, m_announcedLength, m_header,      m_body,     m_raw,
            m_tree,   m_baseUrl,         m_redirectUrl, m_lastError};
}

bool CDownloader::IsFreeFor(int currentJob) const {
    if (m_state.load() != kIdle || m_held.load() || !m_threadAlive.load())
        return false;
    const int owner = m_jobId.load();
    return owner == -1 || owner == currentJob;
}

bool CDownloader::TakeFor(int jobId, int currentJob) {
    if (!IsFreeFor(currentJob))
        return false;
    bool expected = false;
    if (!m_held.compare_exchange_strong(expected, true))
        return false;
    for (int& tag : m_tags)
        tag = -1;
    m_jobId.store(jobId);
    return true;
}

void CDownloader::Release() {
    std::lock_guard guard(m_cs);
    const int state = m_state.load();
    if (state == kQueued || state == kProcessing) {
        // The worker drops the job when it next looks; interrupting makes that now, not at a time-out.
        m_abort.store(true);
        m_socketSlot.Interrupt();
        return;
    }
    ResetLocked();
    m_jobId.store(-1);
    EndHostHold();
    m_held.store(false);
}

void CDownloader::DropJobLocked() {
    EndHostHold();
    ResetLocked();
    m_jobId.store(-1);
    m_abort.store(false);
    m_held.store(false);
}

void CDownloader::EndHostHold() {
    if (m_crawler && m_poolIndex >= 0)
        m_crawler->EndHostHold(*this);
}

void CDownloader::Stop() {
    if (!m_thread.joinable())
        return;
    m_abort.store(true);
    m_quit.store(true);
    m_socketSlot.Interrupt();
    Wake();
}

void CDownloader::Wake() {
    {
        std::lock_guard guard(m_wakeLock);
        m_wakePending = true;
    }
    m_wakeSignal.notify_one();
}

void CDownloader::SetTimeouts(int sendMs, int receiveMs) {
    m_sendTimeoutMs.store(sendMs);
    m_receiveTimeoutMs.store(receiveMs);
}

void CDownloader::SetReplyTimeLimits(const ReplyTimeLimits& timeLimits) {
    std::lock_guard guard(m_cs);
    m_replyTimeLimits = timeLimits;
}

bool CDownloader::SaveTreeToFile(const QString& path) const {
    return ::SaveTreeToFile(m_tree, path);
}

QString CDownloader::ResolveUrl(const QString& link, const QString& base) const {
    if (!base.isEmpty())
        return ::ResolveUrl(link, base);
    return ResolveUrlInFolder(link, m_baseUrl, m_documentUrl);
}

QString CDownloader::UrlEncode(const QString& text, bool blankAsPlus) {
    return ::UrlEncode(text, blankAsPlus);
}

QString CDownloader::UrlDecode(const QString& text, bool plusAsBlank) {
    return ::UrlDecode(text, plusAsBlank);
}
