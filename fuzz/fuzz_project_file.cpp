// Project files through the open command's own path: the bytes are a "*.twpx" file, read as the command reads
// it, and the root element "Project1" to "Project8" picks the kind that is built (view and all, on the
// offscreen platform), loaded, exported and saved. Beyond not crashing: a file is taken only with its kind's
// element closed, and what a loaded project saves is taken again; the counts and figures of every kind are
// real numbers (never NaN or infinite); records, report rows and the saved file grow at most linearly with
// the file; a save, cut before its last end tag or at half, is refused; and a saved file loads to the same
// records: load, save, load, save gives two identical saves.
#include "app/project.h"
#include "app/project_file.h"
#include "fuzz/offscreen_projects.h"
#include "net/saved_file.h"
#include "projects/kind1/project1.h"
#include "projects/kind2/project2.h"
#include "projects/kind3/project3.h"
#include "projects/kind4/project4.h"
#include "projects/kind5/project5.h"
#include "projects/kind6/project6.h"
#include "projects/kind8/project8.h"
#include "projects/project_factory.h"

#include <QFile>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using fuzzprojects::Check;
using fuzzprojects::CountingExporter;

bool IsFinite(double value) {
    return std::isfinite(value);
}

fuzzprojects::Ground* g_ground = nullptr;

// The figures each kind holds as floating-point numbers; every other count is an int.
void CheckFigures(CProject& project, qsizetype bound) {
    qsizetype records = 0;
    const auto row = [](const CDownloader_Parsers_Adwords_result& r) {
        Check(IsFinite(r.estimatedSearch) && IsFinite(r.avgCPC) && IsFinite(r.avgCTR) &&
              IsFinite(r.competition));
    };
    if (auto* kind1 = dynamic_cast<CProject1*>(&project)) {
        for (const CProject1_Keyword& keyword : kind1->Keywords())
            row(keyword.m_row);
        records = qsizetype(kind1->Keywords().size());
    } else if (auto* kind2 = dynamic_cast<CProject2*>(&project)) {
        for (const CProject2_Keyword& keyword : kind2->Records()) {
            row(keyword.tool);
            Check(IsFinite(keyword.intent));
            for (const CProject2_Keyword::EngineResults& engine : keyword.engines) {
                Check(IsFinite(engine.results));
                records += qsizetype(engine.ads.size());
            }
        }
        records += qsizetype(kind2->Records().size());
    } else if (auto* kind3 = dynamic_cast<CProject3*>(&project)) {
        records = qsizetype(kind3->Ads().size() + kind3->Advertisers().size());
    } else if (auto* kind4 = dynamic_cast<CProject4*>(&project)) {
        for (const CProject4_Keyword& keyword : kind4->Data().Keywords()) {
            Check(IsFinite(keyword.searches));
            for (int engine = 0; engine < kProject4EngineCount; ++engine) {
                Check(IsFinite(keyword.results[size_t(engine)]));
                records += qsizetype(keyword.top[size_t(engine)].size());
            }
        }
        records += qsizetype(kind4->Data().Keywords().size() + kind4->Data().Sites().size());
    } else if (auto* kind5 = dynamic_cast<CProject5*>(&project)) {
        for (const CProject5_Entry& entry : kind5->m_list.m_entries)
            records += 1 + qsizetype(entry.m_checks.size());
        Check(kind5->m_list.m_intervalHours >= CProject5_List::kMinIntervalHours &&
              kind5->m_list.m_intervalHours <= CProject5_List::kMaxIntervalHours);
    } else if (auto* kind6 = dynamic_cast<CProject6*>(&project)) {
        records = qsizetype(kind6->Sites().size());
    } else if (auto* kind8 = dynamic_cast<CProject8*>(&project)) {
        records = qsizetype(kind8->Results().size());
    }
    Check(records <= bound);
}

struct Loaded {
    std::unique_ptr<CProject> project;
    QByteArray saved;
};

// Opens the file at path as the open command does, with the view built before the load; null project when
// the file is refused.
Loaded Open(const QString& path, qsizetype size) {
    CDownloader_HTMLTags tree;
    const int kind = ReadProjectFile(path, tree);
    if (kind == 0)
        return {};
    Check(kind >= 1 && kind <= 8);
    Loaded loaded{NewProjectOfKind(kind, g_pCrawler->TakeProjectId()), {}};
    CProject& project = *loaded.project;
    Check(project.m_kind == kind && project.CanOpen());
    project.InitInfo();
    project.CreateView(&g_ground->dialog.m_rootHolder, &g_ground->dialog.m_nextElementId);
    LoadProjectFile(project, tree);
    Check(!project.m_hasResults);

    // Every record stands for some bytes of the file, and so does every row and cell shown of it.
    const qsizetype bound = 16 * (size + 64);
    CheckFigures(project, bound);
    CountingExporter exporter;
    {
        const std::lock_guard lock(project.m_cs);
        project.Export(&exporter);
    }
    Check(exporter.cells <= bound && exporter.text <= 16 * bound);

    loaded.saved = SavedFileBytes(ProjectFileTree(project));
    Check(loaded.saved.size() <= 64 * (size + 1024));
    return loaded;
}

// A save cut short is refused as a whole: before the end tag of its kind's element, and at half.
void CheckCutSavesRefused(const QByteArray& saved, int kind) {
    const qsizetype end = saved.lastIndexOf("</Project" + QByteArray::number(kind) + ">");
    Check(end > 0);
    for (const qsizetype cut : {end, saved.size() / 2}) {
        if (cut > end)
            continue;
        CDownloader_HTMLTags tree;
        Check(ReadProjectFile(g_ground->Write(u"cut.twpx"_s, saved.first(cut)), tree) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    g_ground = &fuzzprojects::Ground::Make(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input starts from no monitoring list, as a first start does.
    QFile::remove(CProject5::ListPath());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Loaded first = Open(g_ground->Write(u"input.twpx"_s, bytes), qsizetype(size));
    if (!first.project)
        return 0;
    const int kind = first.project->m_kind;
    first.project.reset();

    // What a project saves is its own file again: taken, of the same kind, and saved the same.
    Loaded second = Open(g_ground->Write(u"saved.twpx"_s, first.saved), first.saved.size());
    Check(second.project && second.project->m_kind == kind);
    Check(second.saved == first.saved);
    second.project.reset();
    CheckCutSavesRefused(first.saved, kind);
    return 0;
}
