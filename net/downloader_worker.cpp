#include "core/limits.h"
#include "net/crawler_default.h"
#include "net/downloader.h"
#include "net/http_request.h"
#include "net/http_url.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTextReadStep = 16384;
constexpr int kBinaryReadStep = 65536;

} // namespace

void CDownloader::threadProc() {
    m_phase.store(WorkerPhase::Ready);
    for (;;) {
        {
            std::unique_lock lock(m_wakeLock);
            m_wakeSignal.wait(lock, [this] { return m_wakePending; });
            m_wakePending = false;
        }
        if (m_quit.load())
            break;
        runJob();
    }
    {
        // A job queued after the last wake-up is dropped, so the slot is left idle, not queued forever.
        std::lock_guard guard(m_cs);
        if (m_state.load() == kQueued)
            dropJobLocked();
    }
    m_threadAlive.store(false);
}

void CDownloader::runJob() {
    JobRequest job;
    {
        std::lock_guard guard(m_cs);
        // Woken without a job (a Stop, or a Start whose job an earlier wake-up already ran).
        if (m_state.load() != kQueued)
            return;
        if (m_abort.load()) {
            dropJobLocked();
            return;
        }
        job = {m_request, m_url, m_postData, m_referer, m_userAgent, m_contentType, m_replyTimeLimits};
        m_redirectBudget = std::min(m_redirectBudget, 2 * limits::kMaxRedirectsFollowed + 1);
    }

    if ((job.request & kRequestKindMask) == kRequestWhois) {
        runWhois(job);
        return;
    }
    if (!isHttp(job.request)) {
        // Any other kind has no exchange; the job ends done and empty, so that its taker never polls for
        // ever.
        processEmpty(job.request, job.url, {});
        return;
    }

    // Once a hop ends the job (done or dropped), the slot may already be another taker's: only a hop that
    // asked for its redirect may look at the downloader again.
    while (runHttpHop(job)) {
        std::lock_guard guard(m_cs);
        if (m_abort.load()) {
            dropJobLocked();
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

bool CDownloader::runHttpHop(const JobRequest& job) {
    if (HasRequestBreakingCharacters(job.url)) {
        processEmpty(job.request, job.url, u"Connect error: the URL holds a line break or NUL"_s);
        return false;
    }
    const HttpUrlParts url = SplitHttpUrl(job.url);
    if (!url.valid) {
        processEmpty(job.request, job.url, u"Connect error: not an http or https URL"_s);
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
    {
        std::lock_guard guard(m_cs);
        exchange.buffer = std::move(m_receiveBuffer);
    }
    HttpExchangeResult result = HttpExchange(std::move(exchange), m_abort, m_received, m_socketSlot);
    m_phase.store(WorkerPhase::ExchangeOver);

    if (!result.error.isEmpty()) {
        std::lock_guard guard(m_cs);
        if (!m_abort.load())
            m_lastError = result.error;
    }
    const bool failed = !result.error.isEmpty();
    return process(std::move(result.data), job.request, job.url, failed).follow;
}
