// The bold days of kind 5's calendar, worked out again as a month change asks for them (opening the list,
// adding and deleting pairs ask the same), at 1,000, 10,000 and 100,000 watched pairs. Each pair has a check
// every third day from March to June. The calendar steps through those months (every day shown has checks,
// but those of a six weeks' edge), or between January and August, when no pair has a check on any day shown
// and every check of every pair is looked at.
#include "core/packed_minutes.h"
#include "projects/kind5/project5.h"
#include "skin/commands.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kYear = 2026;
constexpr int kFirstMonth = 3;
constexpr int kMonths = 4;
constexpr int kDaysBetweenChecks = 3;
// Months whose six weeks shown hold no check.
constexpr int kEmptyBefore = 1;
constexpr int kEmptyAfter = 8;

std::unique_ptr<CProject5> WatchingPairs(int pairs) {
    auto project = std::make_unique<CProject5>(1);
    std::vector<CProject5_Entry>& entries = project->m_list.m_entries;
    entries.reserve(size_t(pairs));
    const QDate first(kYear, kFirstMonth, 1);
    const int days = int(first.daysTo(first.addMonths(kMonths)));
    for (int i = 0; i < pairs; ++i) {
        CProject5_Entry entry;
        entry.m_keyword = u"running shoes "_s + QString::number(i);
        entry.m_site = u"shop"_s + QString::number(i % 7919) + u".example"_s;
        // The pairs' checks fall on different days: the third of them each day.
        for (int day = i % kDaysBetweenChecks; day < days; day += kDaysBetweenChecks) {
            const QDate date = first.addDays(day);
            CProject5_Check check;
            check.m_date = PackMinutes(date.year(), date.month(), date.day(), 9, i % 60);
            check.m_positions[0] = i % 9;
            entry.m_checks.push_back(check);
        }
        entries.push_back(std::move(entry));
    }
    project->m_dateSelect.m_year = kYear;
    return project;
}

// range 0: pairs; range 1: 0 steps through the months with checks, 1 between two months without any.
void BmCalendarMarks(benchmark::State& state) {
    const int pairs = int(state.range(0));
    const bool empty = state.range(1) == 1;
    const std::unique_ptr<CProject5> project = WatchingPairs(pairs);
    const QString recalculate = CProject5::kDateCommand + skin::cmd::kRecalculateBolds;
    int step = 0;
    for (auto _ : state) {
        const int month = empty ? (step % 2 == 0 ? kEmptyBefore : kEmptyAfter) : kFirstMonth + step % kMonths;
        ++step;
        project->OnCommand(CProject5::kDateCommand + QString::number(month), 0, nullptr);
        project->OnCommand(recalculate, 0, nullptr);
        benchmark::DoNotOptimize(project->m_dateSelect.m_bold.data());
    }
    int bold = 0;
    for (const bool day : project->m_dateSelect.m_bold)
        bold += day ? 1 : 0;
    state.counters["bold days"] = bold;
    state.SetItemsProcessed(int64_t(state.iterations()) * pairs);
    state.SetLabel(empty ? "months without checks" : "months with checks");
}
BENCHMARK(BmCalendarMarks)->ArgsProduct({{1'000, 10'000, 100'000}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
