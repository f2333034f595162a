// The report grid read for its texts rather than painted: the values a value-list filter offers, gathered
// from every row of kind 5's report (10,000, 100,000 and 1,000,000 watched pairs), with the newest checks
// shown and with one day chosen in the calendar.
#include "bench/grid_bench_support.h"
#include "core/packed_minutes.h"
#include "projects/competition/project5_rep.h"

#include <QStringList>
#include <benchmark/benchmark.h>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

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
            check.m_positions[2] = CProject5_Check::kNoData;
            entry.m_checks.push_back(check);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The page kind 5's report lives in, opened without a modal loop and hidden again.
class Kind5Page : public CSkinDlg {
  public:
    explicit Kind5Page(const std::vector<CProject5_Entry>& entries) : report(entries) {
        m_width = gridbench::kGridWidth + 20;
        m_height = gridbench::kGridHeight + 50;
        m_keepPosition = true;
        onInitDialog();
        onActivate(true);
        hide();
    }
    void CreateElements() override {
        report.SetupColumns(&m_rootHolder, m_nextElementId++);
        report.SetPosition(10, 40, gridbench::kGridWidth, gridbench::kGridHeight, CSkinElement::kShowFlag);
    }
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
    return gridbench::RunBenchmarks(argc, argv);
}
