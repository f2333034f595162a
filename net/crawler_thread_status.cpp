#include "core/limits.h"
#include "net/crawler_default.h"

namespace {

// The table never shares a text buffer with another thread: rows are written from workers and read by the
// interface, and a buffer released on one thread after the other let go of it is a race the sanitizer cannot
// see through Qt's own reference counting.
QString OwnCopy(const QString& text) {
    return QString(text.constData(), text.size());
}

} // namespace

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
        row.server = OwnCopy(*server);
    if (operation)
        row.operation = OwnCopy(*operation);
    if (status)
        row.status = OwnCopy(*status);
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
    std::vector<CProjectCrawler_thread_Status> rows;
    rows.reserve(m_threadStatus.size());
    for (const CProjectCrawler_thread_Status& row : m_threadStatus)
        rows.push_back({OwnCopy(row.server), OwnCopy(row.operation), OwnCopy(row.status), row.state});
    return rows;
}
