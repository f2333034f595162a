// The report grids read for their texts rather than painted. Kind 2's keyword report of 10,000 and 100,000
// rows (a project made by a real run against the tests' fixture server and scaled up) exported to CSV and
// to HTML, from the open file to the written one, as the export command does it. And the values a
// value-list filter offers, gathered from every row of kind 5's report (10,000, 100,000 and 1,000,000
// watched pairs), with the newest checks shown and with one day chosen in the calendar.
#include "app/project_exporter_csv.h"
#include "app/project_exporter_html.h"
#include "bench/user_path_project.h"
#include "core/packed_minutes.h"
#include "projects/kind5/project5_rep.h"

#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The kind-2 projects, opened once per size, and the fixture they were made with.
class Kind2Projects {
  public:
    static Kind2Projects& Get() {
        if (!s_projects)
            s_projects.reset(new Kind2Projects);
        return *s_projects;
    }
    // Before the application object goes: the projects live in a window.
    static void Drop() { s_projects.reset(); }

    CProject2* Project(int rows) {
        std::unique_ptr<CProject2>& project = m_projects[rows];
        if (!project) {
            const QString path = m_dir.filePath(u"project"_s + QString::number(rows) + u".twpx"_s);
            if (!user_path::WriteUserPathProject(m_fixture, rows, path)) {
                std::fprintf(stderr, "the %d-keyword project could not be made\n", rows);
                return nullptr;
            }
            project = m_fixture.Open(path, m_page);
        }
        return project.get();
    }
    QString ExportPath(const QString& name) const { return m_dir.filePath(name); }

  private:
    Kind2Projects() = default;
    static inline std::unique_ptr<Kind2Projects> s_projects;
    QTemporaryDir m_dir;
    user_path::Kind2Fixture m_fixture{user_path::kRunKeywords};
    user_path::PageDialog m_page;
    std::map<int, std::unique_ptr<CProject2>> m_projects;
};

template <class Exporter> void RunExport(benchmark::State& state, const QString& name) {
    const int rows = int(state.range(0));
    Kind2Projects& projects = Kind2Projects::Get();
    CProject2* project = projects.Project(rows);
    if (!project || project->Records().size() != size_t(rows)) {
        state.SkipWithError("no project");
        return;
    }
    const QString path = projects.ExportPath(name);
    for (auto _ : state) {
        Exporter exporter;
        if (!exporter.Open(path)) {
            state.SkipWithError("the export file cannot be written");
            return;
        }
        project->Export(&exporter);
        if (!exporter.Close())
            state.SkipWithError("the export was not written");
    }
    state.counters["file_MB"] = double(QFileInfo(path).size()) / 1e6;
    state.SetItemsProcessed(int64_t(state.iterations()) * rows);
}

void ExportSizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(10'000)
        ->Arg(100'000)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

void BmKind2ExportCsv(benchmark::State& state) {
    RunExport<CProjectExporter_CSV>(state, u"export.csv"_s);
}
BENCHMARK(BmKind2ExportCsv)->Apply(ExportSizes);

void BmKind2ExportHtml(benchmark::State& state) {
    RunExport<CProjectExporter_HTML>(state, u"export.htm"_s);
}
BENCHMARK(BmKind2ExportHtml)->Apply(ExportSizes);

// Days of checks, one a day at nine, in March 2026 (across the change to summer time in much of the world).
constexpr int kCheckDays = 4;
constexpr int kFirstCheckDay = 27;
// Every pair's keyword is shared with six others; every fiftieth is spelt in capitals, so that the offered
// values fold letter case.
constexpr int kPairsPerKeyword = 7;
constexpr int kCapitalsEvery = 50;
constexpr int kSites = 7919;

const std::vector<CProject5_Entry>& Entries(int pairs) {
    static std::map<int, std::vector<CProject5_Entry>> made;
    std::vector<CProject5_Entry>& entries = made[pairs];
    if (!entries.empty())
        return entries;
    entries.reserve(size_t(pairs));
    for (int i = 0; i < pairs; ++i) {
        CProject5_Entry entry;
        entry.m_keyword = (i % kCapitalsEvery == 0 ? u"Running Shoes "_s : u"running shoes "_s) +
                          QString::number(i / kPairsPerKeyword);
        entry.m_site = u"shop"_s + QString::number(i % kSites) + u".example"_s;
        for (int day = 0; day < kCheckDays; ++day) {
            CProject5_Check check;
            check.m_date = PackMinutes(2026, 3, kFirstCheckDay + day, 9, i % 60);
            check.m_positions[0] = (i + day) % 9;
            check.m_positions[1] = CProject5_Check::kNotShown;
            check.m_positions[2] = task_value::kNoData;
            entry.m_checks.push_back(check);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

// Kind 5's report on a page, as its project's view places it.
struct Kind5Page {
    explicit Kind5Page(const std::vector<CProject5_Entry>& entries) : report(entries) {
        report.SetupColumns(&page.m_rootHolder, page.m_nextElementId++);
        report.SetPosition(10, 40, 1000, 700, CSkinElement::kShowFlag);
    }
    user_path::PageDialog page;
    CProject5_Rep report;
};

// range 0: pairs; range 1: 1 with a day chosen (the last check of the second day), 0 with the newest checks.
void BmKind5OfferedValues(benchmark::State& state) {
    const int pairs = int(state.range(0));
    Kind5Page page(Entries(pairs));
    CProject5_Rep& report = page.report;
    if (state.range(1) == 1)
        report.m_day = QDate(2026, 3, kFirstCheckDay + 1);
    report.UpdateItemCount();
    CSkinListBox_Column& keyword = report.m_columns[CProject5_Rep::kKeyword];
    QStringList labels;
    for (auto _ : state) {
        keyword.values2.clear();
        report.GetFilterInfo(&keyword, labels);
    }
    state.counters["values"] = double(keyword.values2.size());
    state.SetItemsProcessed(int64_t(state.iterations()) * pairs);
    state.SetLabel(state.range(1) == 1 ? "a day chosen" : "newest checks");
}
BENCHMARK(BmKind5OfferedValues)
    ->ArgsProduct({{10'000, 100'000, 1'000'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return user_path::RunBenchmarks(
        argc, argv, [] { Kind2Projects::Drop(); });
}
