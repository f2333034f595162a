// Column filters of the report grid against Qt's proxy model with a filter that keeps the same rows, on the
// same million records sorted by volume: an include / exclude text filter on the keywords, and a check list
// of 5,000 ticked groups out of 10,000. Each run starts from the unfiltered, sorted view and ends when the
// filtered view is ready.
#include "bench/grid_bench_support.h"
#include "tests/skin/filter_report.h"

#include <QRegularExpression>
#include <QSet>
#include <QSortFilterProxyModel>
#include <benchmark/benchmark.h>

using gridbench::Groups;
using gridbench::kGroups;
using gridbench::kMillion;
using gridbench::RecordModel;
using gridbench::Records;
using skintest::FilterReport;
using FilterDialog = gridbench::GridDialog<FilterReport>;

namespace {

constexpr int kTicked = 5'000;

// The include pattern "cheap*" and the exclude pattern "repair" as one expression: a word starting with
// "cheap", and no word "repair".
const QString kTextExpression = QStringLiteral(R"(^(?!(?:.* )?repair(?:$| ))(?:.* )?cheap(?:$| |\p{L}))");

// Every other group, spelt as the filter dialog stores them.
QStringList TickedGroups() {
    QStringList ticked;
    for (int g = 0; g < kGroups; g += kGroups / kTicked) {
        ticked.append(QStringLiteral("site%1.example").arg(g, 5, 10, QLatin1Char('0')));
    }
    return ticked;
}

// The proxy filter for a check list: the folded cell text in a set of folded ticked values.
class GroupProxy : public QSortFilterProxyModel {
  public:
    void SetTicked(const QStringList& ticked) {
        m_ticked.clear();
        for (const QString& value : ticked) {
            m_ticked.insert(value.toCaseFolded());
        }
        m_on = !ticked.isEmpty();
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        return !m_on ||
               m_ticked.contains(sourceModel()->index(row, 3, parent).data().toString().toCaseFolded());
    }

  private:
    QSet<QString> m_ticked;
    bool m_on = false;
};

struct FilteredGrid {
    FilteredGrid() {
        dlg.report.records = Records(kMillion);
        dlg.report.groups = Groups(kMillion);
        dlg.report.UpdateItemCount();
    }
    CSkinListBox_Column& Column(int id) { return dlg.report.m_columns[static_cast<std::size_t>(id)]; }
    void Rebuild() {
        dlg.report.InvalidateContent();
        dlg.report.UpdateItemCount();
    }
    FilterDialog dlg;
};

void BM_GridTextFilter(benchmark::State& state) {
    FilteredGrid g;
    CSkinListBox_Column& keyword = g.Column(FilterReport::kKeyword);
    for (auto _ : state) {
        state.PauseTiming();
        keyword.filterOn = false;
        g.Rebuild();
        state.ResumeTiming();
        keyword.filterOn = true;
        keyword.values = {QStringLiteral("cheap*")};
        keyword.values2 = {QStringLiteral("repair")};
        g.Rebuild();
    }
    state.counters["rows"] = g.dlg.report.VisibleCount();
}
BENCHMARK(BM_GridTextFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_QtProxyTextFilter(benchmark::State& state) {
    RecordModel model(Records(kMillion));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(2);
    const QRegularExpression expression(kTextExpression, QRegularExpression::CaseInsensitiveOption);
    for (auto _ : state) {
        state.PauseTiming();
        proxy.sort(-1);
        proxy.setFilterRegularExpression(QRegularExpression());
        proxy.sort(0, Qt::AscendingOrder);
        proxy.sort(-1);
        state.ResumeTiming();
        proxy.setFilterRegularExpression(expression);
        proxy.sort(0, Qt::AscendingOrder);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
    state.counters["rows"] = proxy.rowCount();
}
void BM_QtProxyTextFilterFresh(benchmark::State& state) {
    RecordModel model(Records(kMillion));
    const QRegularExpression expression(kTextExpression, QRegularExpression::CaseInsensitiveOption);
    int rows = 0;
    for (auto _ : state) {
        auto proxy = std::make_unique<QSortFilterProxyModel>();
        proxy->setFilterKeyColumn(2);
        proxy->setFilterRegularExpression(expression);
        proxy->setSourceModel(&model);
        proxy->sort(0, Qt::AscendingOrder);
        rows = proxy->rowCount();
        state.PauseTiming();
        proxy.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_QtProxyTextFilterFresh)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_QtProxyTextFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_GridCheckListFilter(benchmark::State& state) {
    FilteredGrid g;
    CSkinListBox_Column& group = g.Column(FilterReport::kGroup);
    const QStringList ticked = TickedGroups();
    for (auto _ : state) {
        state.PauseTiming();
        group.filterOn = false;
        group.values.clear();
        g.Rebuild();
        state.ResumeTiming();
        group.filterOn = true;
        group.values = ticked;
        g.Rebuild();
    }
    state.counters["rows"] = g.dlg.report.VisibleCount();
}
BENCHMARK(BM_GridCheckListFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_QtProxyCheckListFilter(benchmark::State& state) {
    RecordModel model(Records(kMillion), &Groups(kMillion));
    GroupProxy proxy;
    proxy.setSourceModel(&model);
    proxy.sort(0, Qt::AscendingOrder);
    const QStringList ticked = TickedGroups();
    for (auto _ : state) {
        state.PauseTiming();
        proxy.SetTicked({});
        state.ResumeTiming();
        proxy.SetTicked(ticked);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
    state.counters["rows"] = proxy.rowCount();
}
BENCHMARK(BM_QtProxyCheckListFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    return gridbench::RunBenchmarks(argc, argv);
}
