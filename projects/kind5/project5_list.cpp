#include "projects/kind5/project5_list.h"

#include "net/html_tags.h"
#include "net/saved_file.h"
#include "projects/kind5/project5_xml.h"
#include "skin/case_fold.h"

#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <bit>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

const QString kVersionKey = u"Version"_s;
const QString kIntervalKey = u"m_interval"_s;
const QString kRunningKey = u"m_status"_s;
constexpr int kVersion = 1;

// A hash of the pair that is the same for every two entries ComparePair finds equal: the site as it stands,
// the keyword folded as the case-insensitive comparison folds it.
std::uint64_t PairHash(const CProject5_Entry& entry) {
    std::uint64_t hash = qHash(entry.m_site, 0x51ED27u);
    const char16_t* units = QStringView(entry.m_keyword).utf16();
    for (qsizetype i = 0; i < entry.m_keyword.size(); ++i) {
        hash = (hash ^ skin::fold::FoldUnitAt(units, i)) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    return hash;
}

// Drops each entry from position from on whose pair an earlier entry holds; the rest keep their order. The
// first entry of each pair goes into a hash table as the entries are read in order, so a later one finds it
// there: linear, where sorting the positions by pair read the entries in random order n log n times.
void DropRepeatedPairs(std::vector<CProject5_Entry>& entries, std::size_t from) {
    struct Slot {
        std::uint32_t hash = 0;
        // Position + 1; 0 is an empty slot.
        std::uint32_t entry = 0;
    };
    // At most half full, so probes stay short.
    std::vector<Slot> table(std::bit_ceil(std::max<std::size_t>(16, 2 * entries.size())));
    const std::size_t mask = table.size() - 1;
    std::vector<bool> repeated(entries.size(), false);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint64_t hash = PairHash(entries[i]);
        const auto check = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t at = std::size_t(hash) & mask;; at = (at + 1) & mask) {
            Slot& slot = table[at];
            if (slot.entry == 0) {
                slot = {check, static_cast<std::uint32_t>(i + 1)};
                break;
            }
            if (slot.hash == check && entries[slot.entry - 1].ComparePair(entries[i]) == 0) {
                repeated[i] = i >= from;
                break;
            }
        }
    }
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
