#include "core/limits.h"
#include "net/crawler_default.h"

int CProjectCrawlerDefault::SetThreadStatus(int index, const std::optional<QString>& server,
                                            const std::optional<QString>& operation,
                                            const std::optional<QString>& status, int state) {
    if (index < 0 || index >= limits::kMaxPoolSlots)
        return state;
    std::lock_guard guard(m_cs);
    if (m_threadStatus.size() <= size_t(index))
        m_threadStatus.resize(size_t(index) + 1);
    CProjectCrawler_thread_Status& row = m_threadStatus[size_t(index)];
    if (server)
        row.server = *server;
    if (operation)
        row.operation = *operation;
    if (status)
        row.status = *status;
    if (state != -1)
        row.state = state;
    m_statusChanged.store(true);
    return state;
}

void CProjectCrawlerDefault::RemoveThreadStatus(int index) {
    std::lock_guard guard(m_cs);
    if (index >= 0 && size_t(index) < m_threadStatus.size()) {
        m_threadStatus.erase(m_threadStatus.begin() + index);
        m_statusChanged.store(true);
    }
}

bool CProjectCrawlerDefault::HasThreadStatus(int index) {
    std::lock_guard guard(m_cs);
    return index >= 0 && size_t(index) < m_threadStatus.size();
}

std::vector<CProjectCrawler_thread_Status> CProjectCrawlerDefault::TakeThreadStatus() {
    std::lock_guard guard(m_cs);
    m_statusChanged.store(false);
    return m_threadStatus;
}
