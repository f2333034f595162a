#include "projects/kind5/project5_list.h"

#include "net/html_tags.h"
#include "net/saved_file.h"
#include "projects/kind5/project5_xml.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

const QString kVersionKey = u"Version"_s;
const QString kIntervalKey = u"m_interval"_s;
const QString kRunningKey = u"m_status"_s;
constexpr int kVersion = 1;

// Drops each entry from position from on whose pair an earlier entry holds; the rest keep their order.
// Positions are sorted by pair, and by position within a pair, so the first of each pair comes first: n log
// n, where checking every entry against all before it took n squared.
void DropRepeatedPairs(std::vector<CProject5_Entry>& entries, std::size_t from) {
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(), [&entries](std::size_t a, std::size_t b) {
        const int pair = entries[a].ComparePair(entries[b]);
        return pair != 0 ? pair < 0 : a < b;
    });
    std::vector<bool> repeated(entries.size(), false);
    for (std::size_t i = 1; i < order.size(); ++i)
        repeated[order[i]] = order[i] >= from && entries[order[i - 1]].ComparePair(entries[order[i]]) == 0;
    std::size_t kept = from;
    for (std::size_t i = from; i < entries.size(); ++i) {
        if (repeated[i])
            continue;
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.erase(entries.begin() + std::ptrdiff_t(kept), entries.end());
}

} // namespace

void CProject5_List::WriteXml(CDownloader_HTMLTags& element) const {
    element.AddChild(kVersionKey, true)->SetInt(kVersion);
    element.AddChild(kIntervalKey, true)->SetInt(m_intervalHours);
    element.AddChild(kRunningKey, true)->SetBool(m_running);
    for (const CProject5_Entry& entry : m_entries)
        entry.WriteXml(*element.AddChild(CProject5_Entry::kElementName, false));
}

bool CProject5_List::ReadXml(const CDownloader_HTMLTags& element) {
    // Only direct children count: the entries' elements below hold keys of their own.
    const CDownloader_HTMLTags* interval = element.FindChild(kIntervalKey);
    const CDownloader_HTMLTags* running = element.FindChild(kRunningKey);
    bool whole = project5::IsWholeValue(element.FindChild(kVersionKey)) && project5::IsWholeValue(interval) &&
                 project5::IsWholeValue(running);
    CDownloader_HTMLTags::GetInt(interval, m_intervalHours, kDefaultIntervalHours);
    m_intervalHours = std::clamp(m_intervalHours, kMinIntervalHours, kMaxIntervalHours);
    CDownloader_HTMLTags::GetBool(running, m_running, true);
    m_entries.clear();
    for (const CDownloader_HTMLTags& child : element.GetChildren()) {
        if (!child.IsElementNamed(CProject5_Entry::kElementName))
            continue;
        CProject5_Entry entry;
        if (entry.ReadXml(child))
            m_entries.push_back(std::move(entry));
        else
            whole = false;
    }
    DropRepeatedPairs(m_entries, 0);
    return whole;
}

int CProject5_List::Merge(const std::vector<CProject5_Entry>& other) {
    const std::size_t held = m_entries.size();
    m_entries.insert(m_entries.end(), other.begin(), other.end());
    DropRepeatedPairs(m_entries, held);
    return int(m_entries.size() - held);
}

CProject5_List::FileState CProject5_List::LoadFile(const QString& path) {
    m_entries.clear();
    if (!QFileInfo::exists(path))
        return FileState::Missing;
    CDownloader_HTMLTags tree;
    if (!LoadTreeFromFile(tree, path))
        return FileState::Unreadable;
    const CDownloader_HTMLTags* root = tree.FindFirst({.tag = kRootName});
    const auto& top = tree.GetChildren();
    if (!root) {
        // A file with no element at all holds nothing that a save could lose.
        const bool empty = std::all_of(top.begin(), top.end(), [](const auto& n) { return n.IsTextNode(); });
        return empty ? FileState::Missing : FileState::Unreadable;
    }
    // An end tag whose start tag was lost closes the root early: what follows it stands beside the root.
    const bool onlyRoot = std::all_of(top.begin(), top.end(), [](const CDownloader_HTMLTags& n) {
        return n.IsTextNode() || n.IsElementNamed(kRootName);
    });
    if (!SavedRootClosed(tree, kRootName) || !onlyRoot || !ReadXml(*root)) {
        m_entries.clear();
        return FileState::Damaged;
    }
    return FileState::Loaded;
}

bool CProject5_List::SaveFile(const QString& path) const {
    CDownloader_HTMLTags tree;
    WriteXml(*tree.AddChild(kRootName, false));
    return SaveTreeToFile(tree, path);
}
