#include "projects/competition/project5_list.h"

#include "net/html_tags.h"
#include "net/saved_file.h"
#include "projects/competition/project5_xml.h"

#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kVersionKey = u"Version"_s;
const QString kIntervalKey = u"m_interval"_s;
const QString kRunningKey = u"m_status"_s;
const QString kEntryKey = u"entry"_s;
constexpr int kVersion = 1;

} // namespace

void CProject5_List::WriteXml(CDownloader_HTMLTags& element) const {
    element.AddChild(kVersionKey, true)->SetInt(kVersion);
    element.AddChild(kIntervalKey, true)->SetInt(m_intervalHours);
    element.AddChild(kRunningKey, true)->SetBool(m_running);
    for (const CProject5_Entry& entry : m_entries)
        entry.WriteXml(*element.AddChild(kEntryKey, false));
}

void CProject5_List::ReadXml(const CDownloader_HTMLTags& element) {
    CDownloader_HTMLTags::GetInt(project5::DirectChild(element, kIntervalKey), m_intervalHours,
                                 kDefaultIntervalHours);
    m_intervalHours = std::clamp(m_intervalHours, kMinIntervalHours, kMaxIntervalHours);
    CDownloader_HTMLTags::GetBool(project5::DirectChild(element, kRunningKey), m_running, true);
    m_entries.clear();
    for (const CDownloader_HTMLTags& child : element.GetChildren()) {
        CProject5_Entry entry;
        if (project5::IsElementNamed(child, kEntryKey) && entry.ReadXml(child))
            Add(entry);
    }
}

bool CProject5_List::Contains(const CProject5_Entry& entry) const {
    return std::any_of(
        m_entries.begin(), m_entries.end(),
        [&](const CProject5_Entry& held) { return held.SamePair(entry); });
}

bool CProject5_List::Add(const CProject5_Entry& entry) {
    if (Contains(entry))
        return false;
    m_entries.push_back(entry);
    return true;
}

int CProject5_List::Merge(const std::vector<CProject5_Entry>& other) {
    int added = 0;
    for (const CProject5_Entry& entry : other)
        added += Add(entry) ? 1 : 0;
    return added;
}

CProject5_List::FileState CProject5_List::LoadFile(const QString& path) {
    m_entries.clear();
    if (!QFileInfo::exists(path))
        return FileState::Missing;
    CDownloader_HTMLTags tree;
    if (!LoadTreeFromFile(tree, path))
        return FileState::Unreadable;
    const CDownloader_HTMLTags* root = tree.FindFirst({.tag = kRootName});
    if (!root) {
        // A file with no element at all holds nothing that a save could lose.
        const auto& top = tree.GetChildren();
        const bool empty = std::all_of(top.begin(), top.end(), [](const auto& n) { return n.IsTextNode(); });
        return empty ? FileState::Missing : FileState::Unreadable;
    }
    ReadXml(*root);
    return FileState::Loaded;
}

bool CProject5_List::SaveFile(const QString& path) const {
    CDownloader_HTMLTags tree;
    WriteXml(*tree.AddChild(kRootName, false));
    return SaveTreeToFile(tree, path);
}
