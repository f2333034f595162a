// The kind-5 watch list ("project5.zxml" in the data folder) through the one place the program reads it: the
// bytes are the list file when a kind-5 project builds its page. Beyond not crashing: a list the project
// did not take in whole (damaged, cut short, not a list) leaves it with no pairs and is never written over,
// even by a change that saves the list; a list taken holds each pair once, with a keyword and a site, its
// checks in date order, positions that are a place or the no-data value and an interval within its range,
// all at most linearly many for the file; its save is taken again, and saving that gives the same bytes; and
// a save cut before the root's end tag or at half is refused.
#include "fuzz/offscreen_projects.h"
#include "projects/kind5/project5.h"
#include "projects/kind5/project5_list.h"

#include <QFile>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using fuzzprojects::Check;
using List = CProject5_List;

fuzzprojects::Ground* g_ground = nullptr;

void CheckTaken(const List& list, qsizetype size) {
    Check(list.m_intervalHours >= List::kMinIntervalHours && list.m_intervalHours <= List::kMaxIntervalHours);
    qsizetype records = 0;
    for (size_t i = 0; i < list.m_entries.size(); ++i) {
        const CProject5_Entry& entry = list.m_entries[i];
        Check(!entry.m_keyword.isEmpty() && !entry.m_site.isEmpty());
        // Each pair once: checked against its neighbours in pair order below.
        for (size_t c = 0; c < entry.m_checks.size(); ++c) {
            const CProject5_Check& check = entry.m_checks[c];
            Check(c == 0 || entry.m_checks[c - 1].m_date <= check.m_date);
            for (const int position : check.m_positions)
                Check(position >= 0 || position == task_value::kNoData);
        }
        records += 1 + qsizetype(entry.m_checks.size());
    }
    Check(records <= size);

    std::vector<const CProject5_Entry*> sorted;
    for (const CProject5_Entry& entry : list.m_entries)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(),
              [](const CProject5_Entry* a, const CProject5_Entry* b) { return a->ComparePair(*b) < 0; });
    for (size_t i = 1; i < sorted.size(); ++i)
        Check(sorted[i - 1]->ComparePair(*sorted[i]) != 0);
}

QByteArray SavedBytes(const List& list) {
    const QString path = CProject5::ListPath() + u".saved"_s;
    Check(list.SaveFile(path));
    return fuzzprojects::Ground::Read(path);
}

// Reads bytes as the list file; the state and the list.
List::FileState LoadBytes(const QByteArray& bytes, List& list) {
    return list.LoadFile(fuzzprojects::Ground::WriteFile(CProject5::ListPath(), bytes));
}

void CheckCutSavesRefused(const QByteArray& saved) {
    const qsizetype end = saved.lastIndexOf("</Project5>");
    Check(end > 0);
    for (const qsizetype cut : {end, saved.size() / 2}) {
        if (cut > end)
            continue;
        List list;
        const List::FileState state = LoadBytes(saved.first(cut), list);
        Check(state == List::FileState::Damaged || state == List::FileState::Unreadable);
        Check(list.m_entries.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_ground = &fuzzprojects::Ground::Make(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzprojects::Ground::WriteFile(CProject5::ListPath(), bytes);

    CProject5 project(0);
    Check(project.CanOpen());
    project.InitInfo();
    project.CreateView(&g_ground->dialog.m_rootHolder, &g_ground->dialog.m_nextElementId);
    {
        fuzzprojects::CountingExporter exporter;
        const std::lock_guard lock(project.m_cs);
        project.Export(&exporter);
        Check(exporter.cells <= 16 * (qsizetype(size) + 64));
    }
    // Start saves the list, when it was taken.
    project.OnCommand(u"prj5_start"_s, 0, &g_ground->dialog);
    if (!project.m_listRead) {
        Check(project.m_list.m_entries.empty());
        Check(fuzzprojects::Ground::Read(path) == bytes);
        return 0;
    }
    CheckTaken(project.m_list, qsizetype(size));

    // What the project saved is taken again, whole, and saves the same.
    List again;
    Check(again.LoadFile(path) == List::FileState::Loaded);
    const QByteArray saved = fuzzprojects::Ground::Read(path);
    Check(SavedBytes(again) == saved);
    Check(again.m_entries.size() == project.m_list.m_entries.size());
    CheckCutSavesRefused(saved);
    QFile::remove(path);
    return 0;
}
