#include "core/limits.h"
#include "net/crawler_default.h"
#include "net/downloader.h"
#include "net/http_request.h"
#include "net/http_url.h"

#include <algorithm>
#include <chrono>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTextReadStep = 16384;
constexpr int kBinaryReadStep = 65536;

// Real time, whatever clock the program installed: the hold is about memory, not about pacing.
std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void CDownloader::KeepReceiveBuffer(QByteArray buffer) {
    const bool large = buffer.capacity() > limits::kKeptReceiveBufferBytes;
    // Large storage is kept for the next large reply only, so a run of small ones after a large one does not
    // keep it alive; and only a worker lets go of it in time.
    if (large && (buffer.size() <= limits::kKeptReceiveBufferBytes || !m_threadAlive.load()))
        return;
    // The reply's bytes were written, so their pages are mapped.
    m_receiveBufferMapped = buffer.size();
    m_receiveBuffer = std::move(buffer);
    {
        std::lock_guard guard(m_wakeLock);
        m_keptBufferDueMs = large ? SteadyMs() + limits::kKeptLargeReceiveBufferMs : 0;
    }
    // A parked worker waits from now on with the time limit.
    if (large)
        m_wakeSignal.notify_one();
}

bool CDownloader::Park() {
    std::unique_lock lock(m_wakeLock);
    for (;;) {
        if (m_wakePending) {
            m_wakePending = false;
            return true;
        }
        if (m_keptBufferDueMs == 0) {
            m_wakeSignal.wait(lock);
            continue;
        }
        const std::int64_t left = m_keptBufferDueMs - SteadyMs();
        if (left <= 0)
            return false;
        m_wakeSignal.wait_for(lock, std::chrono::milliseconds(left));
    }
}

void CDownloader::LetGoOfKeptBuffer() {
    QByteArray old;
    {
        std::lock_guard guard(m_cs);
        std::lock_guard wakeGuard(m_wakeLock);
        // A taker may have kept a newer one meanwhile, or a job taken it.
        if (m_keptBufferDueMs == 0 || SteadyMs() < m_keptBufferDueMs)
            return;
        m_keptBufferDueMs = 0;
        old = std::exchange(m_receiveBuffer, QByteArray());
        m_receiveBufferMapped = 0;
    }
    // Unmapped outside the locks.
}

void CDownloader::ThreadProc() {
    m_phase.store(WorkerPhase::Ready);
    for (;;) {
        if (!Park()) {
            LetGoOfKeptBuffer();
            continue;
        }
        if (m_quit.load())
            break;
        RunJob();
    }
    {
        // A job queued after the last wake-up is dropped, so the slot is left idle, not queued forever.
        std::lock_guard guard(m_cs);
        if (m_state.load() == kQueued)
            DropJobLocked();
    }
    m_threadAlive.store(false);
}

void CDownloader::RunJob() {
    JobRequest job;
    {
        std::lock_guard guard(m_cs);
        // Woken without a job (a Stop, or a Start whose job an earlier wake-up already ran).
        if (m_state.load() != kQueued)
            return;
        if (m_abort.load()) {
            DropJobLocked();
            return;
        }
        job = {m_request, m_url, m_postData, m_referer, m_userAgent, m_contentType, m_replyTimeLimits};
        m_redirectBudget = std::min(m_redirectBudget, 2 * limits::kMaxRedirectsFollowed + 1);
    }

    if ((job.request & kRequestKindMask) == kRequestWhois) {
        RunWhois(job);
        return;
    }
    if (!IsHttp(job.request)) {
        // Any other kind has no exchange; the job ends done and empty, so that its taker never polls for
        // ever.
        ProcessEmpty(job.request, job.url, {});
        return;
    }

    // Once a hop ends the job (done or dropped), the slot may already be another taker's: only a hop that
    // asked for its redirect may look at the downloader again.
    while (RunHttpHop(job)) {
        std::lock_guard guard(m_cs);
        if (m_abort.load()) {
            DropJobLocked();
            return;
        }
        job.referer = job.url;
        job.url = m_redirectUrl.trimmed().replace(u' ', u"%20"_s);
        job.request = (job.request & ~kRequestKindMask) | kRequestGet;
        job.postData.clear();
        --m_redirectBudget;
        m_body.clear();
    }
}

bool CDownloader::RunHttpHop(const JobRequest& job) {
    if (HasRequestBreakingCharacters(job.url)) {
        ProcessEmpty(job.request, job.url, u"Connect error: the URL holds a line break or NUL"_s);
        return false;
    }
    const HttpUrlParts url = SplitHttpUrl(job.url);
    if (!url.valid) {
        ProcessEmpty(job.request, job.url, u"Connect error: not an http or https URL"_s);
        return false;
    }

    HttpRequestFields fields;
    fields.post = (job.request & kRequestKindMask) == kRequestPost;
    fields.object = url.object;
    fields.hostHeader = url.hostHeader;
    fields.userAgent = job.userAgent;
    fields.referer = job.referer;
    fields.contentType = job.contentType;
    if (fields.post)
        fields.body = job.postData.toUtf8();
    // The jar's lock is taken while no downloader lock is held.
    if (m_crawler)
        fields.cookies = m_crawler->GetCookieHeader(url.host, url.object, url.tls);

    HttpExchangeRequest exchange;
    exchange.host = url.host;
    exchange.port = url.port;
    exchange.tls = url.tls;
    exchange.tlsContext = m_crawler ? m_crawler->m_sslContext : nullptr;
    exchange.bytes = BuildHttpRequest(fields);
    exchange.readStep = (job.request & kKeepText) ? kTextReadStep : kBinaryReadStep;
    exchange.sendTimeoutMs = m_sendTimeoutMs.load();
    exchange.receiveTimeoutMs = m_receiveTimeoutMs.load();
    // The header is readable while the body arrives: a taker showing progress learns the length from it.
    exchange.onHeader = [this](const QString& header) {
        std::lock_guard guard(m_cs);
        if (!m_abort.load())
            m_header = header;
    };
    exchange.timeLimits = job.timeLimits;
    exchange.dechunkAsReceived = true;
    {
        std::lock_guard guard(m_cs);
        exchange.buffer = std::exchange(m_receiveBuffer, QByteArray());
        exchange.bufferMapped = std::exchange(m_receiveBufferMapped, 0);
        std::lock_guard wakeGuard(m_wakeLock);
        m_keptBufferDueMs = 0;
    }
    HttpExchangeResult result = Exchange(std::move(exchange), m_abort, m_received, m_socketSlot);
    m_phase.store(WorkerPhase::ExchangeOver);

    if (!result.error.isEmpty()) {
        std::lock_guard guard(m_cs);
        if (!m_abort.load())
            m_lastError = result.error;
    }
    const bool failed = !result.error.isEmpty();
    return Process(std::move(result.data), job.request, job.url, failed, result.dechunked).follow;
}
