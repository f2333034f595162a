#include "projects/common/failed_tasks.h"

#include "net/saved_markup.h"
#include "projects/common/record_xml.h"

using namespace Qt::StringLiterals;

namespace {

const QString kFailedKey = u"m_failed"_s;
const QString kItemKey = u"item"_s;
const QString kTaskKey = u"task"_s;
const QString kErrorKey = u"error"_s;

bool InRange(int task) {
    return task >= 0 && task < CFailedTasks::kMaxTasks;
}

} // namespace

void CFailedTasks::Mark(int task, const QString& error) {
    if (!InRange(task))
        return;
    m_bits |= 1u << task;
    if (m_errors.size() <= std::size_t(task))
        m_errors.resize(std::size_t(task) + 1);
    m_errors[std::size_t(task)] = error;
}

void CFailedTasks::Clear(int task) {
    if (!IsFailed(task))
        return;
    m_bits &= ~(1u << task);
    m_errors[std::size_t(task)].clear();
    if (m_bits == 0)
        m_errors.clear();
}

bool CFailedTasks::IsFailed(int task) const {
    return InRange(task) && (m_bits >> task & 1u) != 0;
}

QString CFailedTasks::Error(int task) const {
    return IsFailed(task) ? m_errors[std::size_t(task)] : QString();
}

template <typename Writer> void CFailedTasks::Write(Writer& out) const {
    if (!Any())
        return;
    out.Open(kFailedKey);
    for (int task = 0; task < kMaxTasks; ++task) {
        if (!IsFailed(task))
            continue;
        out.Open(kItemKey);
        out.Value(kTaskKey, task);
        out.Value(kErrorKey, m_errors[std::size_t(task)]);
        out.Close();
    }
    out.Close();
}

template void CFailedTasks::Write(SavedTreeWriter&) const;
template void CFailedTasks::Write(SavedMarkupWriter&) const;

void CFailedTasks::WriteXml(CDownloader_HTMLTags& node) const {
    SavedTreeWriter out(node);
    Write(out);
}

void CFailedTasks::ReadXml(const CDownloader_HTMLTags* node) {
    *this = CFailedTasks();
    for (const CDownloader_HTMLTags* item :
         record_xml::Children(record_xml::Child(node, kFailedKey), kItemKey))
        Mark(record_xml::LoadInt(item, kTaskKey, kMaxTasks), record_xml::LoadString(item, kErrorKey));
}
