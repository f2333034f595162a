#include "core/clock.h"
#include "core/limits.h"
#include "net/crawler_default.h"
#include "net/downloader.h"

#include <algorithm>

namespace {

using Pool = std::vector<std::unique_ptr<CDownloader>>;
using PacingTable = std::vector<CProjectCrawler_Courtasy>;

int ClampedThreadCount(int allowMaxThreads) {
    return std::clamp(allowMaxThreads, limits::kMinThreadCount, limits::kMaxThreadCount);
}

// Adds slots, each with its worker thread, until the pool holds count of them; it never shrinks.
void FillPool(Pool& pool, int count, CProjectCrawlerDefault* crawler) {
    for (int i = static_cast<int>(pool.size()); i < count; ++i)
        pool.push_back(std::make_unique<CDownloader>(i, crawler));
}

// The hand-out ignores case: callers spell one service in several ways and must share its pacing.
// Gives the index of the record, appended when there is none.
size_t HandOutRecord(PacingTable& table, const QString& service) {
    const auto found = std::find_if(table.begin(), table.end(), [&](const CProjectCrawler_Courtasy& record) {
        return record.service.compare(service, Qt::CaseInsensitive) == 0;
    });
    if (found != table.end())
        return static_cast<size_t>(found - table.begin());
    table.push_back(CProjectCrawler_Courtasy{service});
    return table.size() - 1;
}

// Busy and timing updates match exactly: a reservation ends under the very spelling that made it.
bool ReservedUnder(const CProjectCrawler_Courtasy& record, const QString& service) {
    return record.service == service;
}

// Ends every hold of the slot with poolIndex, except on records their caller keeps busy.
void EndHolds(PacingTable& table, int poolIndex, std::int64_t now) {
    for (CProjectCrawler_Courtasy& record : table) {
        if (record.holder != poolIndex || record.busy)
            continue;
        record.nextAllowed = now + record.delay;
        record.holder = -1;
        record.delay = 0;
    }
}

} // namespace

void CProjectCrawlerDefault::CreatePool() {
    FillPool(m_downloaders, ClampedThreadCount(allowMaxThreads), this);
}

void CProjectCrawlerDefault::GrowPool() {
    FillPool(m_downloaders, ClampedThreadCount(allowMaxThreads) + 4, this);
}

// Projects share the first allowMaxThreads slots; dialog steps (no job) may use the whole pool.
CDownloader* CProjectCrawlerDefault::TakeFirstFree(int job) {
    const size_t range = job != -1 ? std::min(m_downloaders.size(), size_t(std::max(allowMaxThreads, 0)))
                                   : m_downloaders.size();
    for (size_t i = 0; i < range; ++i)
        if (m_downloaders[i]->TakeFor(job, job))
            return m_downloaders[i].get();
    return nullptr;
}

CDownloader* CProjectCrawlerDefault::GetFreeDownloader() {
    ++m_requestsThisTick;
    const int job = m_currentJob.load();
    if (m_paused.load() && job != -1)
        return nullptr;
    return TakeFirstFree(job);
}

CDownloader* CProjectCrawlerDefault::GetDownloaderForHost(const QString& service) {
    std::lock_guard guard(m_cs);
    ++m_requestsThisTick;
    const int job = m_currentJob.load();
    if (m_paused.load() && job != -1)
        return nullptr;

    const size_t recordIndex = HandOutRecord(m_courtesy, service);
    if (m_courtesy[recordIndex].busy)
        return nullptr;

    int min = courtesyMin;
    int max = courtesyMax;
    const std::int64_t now = MonotonicMs();
    if (GetCourtesy(service, min, max)) {
        const CProjectCrawler_Courtasy& record = m_courtesy[recordIndex];
        if (record.holder != -1 || record.nextAllowed > now)
            return nullptr;
    }

    CDownloader* taken = TakeFirstFree(job);
    if (!taken)
        return nullptr;

    const std::int64_t delay =
        allowCourtesy ? std::max<std::int64_t>(0, CourtesyDelayMs(min, max, RandomValue())) : 0;
    CProjectCrawler_Courtasy& record = m_courtesy[recordIndex];
    record.delay = delay;
    record.nextAllowed = now + delay;
    record.holder = taken->m_poolIndex;
    return taken;
}

void CProjectCrawlerDefault::MarkHostBusy(const QString& service) {
    std::lock_guard guard(m_cs);
    for (CProjectCrawler_Courtasy& record : m_courtesy) {
        if (ReservedUnder(record, service)) {
            record.busy = true;
            return;
        }
    }
    CProjectCrawler_Courtasy record{service};
    record.busy = true;
    m_courtesy.push_back(record);
}

void CProjectCrawlerDefault::UpdateHostTiming(const QString& service) {
    std::lock_guard guard(m_cs);
    const std::int64_t now = MonotonicMs();
    for (CProjectCrawler_Courtasy& record : m_courtesy) {
        if (!ReservedUnder(record, service))
            continue;
        // The holder's other holds end now; this record keeps its holder until that slot is released.
        if (record.holder != -1)
            EndHolds(m_courtesy, record.holder, now);
        record.busy = false;
        record.nextAllowed = now + record.delay;
        // A holder given back while the record was busy kept its hold; with busy gone it has to end too,
        // or the service would stay blocked for the rest of the run.
        if (record.holder >= 0 && std::size_t(record.holder) < m_downloaders.size() &&
            !m_downloaders[std::size_t(record.holder)]->m_held.load()) {
            record.holder = -1;
            record.delay = 0;
        }
    }
}

void CProjectCrawlerDefault::EndHostHold(const CDownloader& downloader) {
    std::lock_guard guard(m_cs);
    EndHolds(m_courtesy, downloader.m_poolIndex, MonotonicMs());
}

void CProjectCrawlerDefault::ReleaseJobDownloaders(int jobId) {
    for (const auto& downloader : m_downloaders)
        if (downloader->m_jobId.load() == jobId)
            downloader->Release();
}

int CProjectCrawlerDefault::CountJobDownloaders(int jobId) const {
    return static_cast<int>(std::count_if(
        m_downloaders.begin(), m_downloaders.end(),
        [&](const auto& downloader) { return downloader->m_jobId.load() == jobId; }));
}

void CProjectCrawlerDefault::StopAll() {
    for (const auto& downloader : m_downloaders)
        downloader->Stop();
    std::lock_guard guard(m_cs);
    m_threadStatus.clear();
    m_statusChanged.store(true);
}

void CProjectCrawlerDefault::Shutdown() {
    StopAll();
    // Each destructor interrupts its exchange and joins its thread.
    m_downloaders.clear();
}
