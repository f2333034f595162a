// The report grid against Qt's proxy model on the same million records (a count, an amount with missing
// values, a text): re-sorting, sorting by comparisons alone and under secondary keys, the repaint after one
// wheel step, the first paint, and the grid's own memory.
#include "bench/grid_bench_support.h"
#include "skin/case_fold.h"

#include <QSortFilterProxyModel>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <memory>

using gridbench::kGridHeight;
using gridbench::kGridWidth;
using gridbench::kMillion;
using gridbench::RecordModel;
using gridbench::Records;
using skintest::Record;
using skintest::RecordReport;
using GridDialog = gridbench::GridDialog<RecordReport>;

namespace {

const char* ColumnLabel(std::int64_t column) {
    return column == 0 ? "int" : column == 1 ? "float with no data" : "text";
}

// A click on the sorted column's header: the same column in the other direction.
void BmGridResort(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(kMillion);
    report.m_sortColumn = static_cast<int>(state.range(0));
    report.UpdateItemCount();
    for (auto _ : state) {
        report.m_sortDirection = 1 - report.m_sortDirection;
        report.InvalidateContent();
        report.UpdateItemCount();
        benchmark::DoNotOptimize(report.Order().data());
    }
    state.SetLabel(ColumnLabel(state.range(0)));
}
BENCHMARK(BmGridResort)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BmQtProxyResort(benchmark::State& state) {
    RecordModel model(Records(kMillion));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    const int column = static_cast<int>(state.range(0));
    Qt::SortOrder order = Qt::AscendingOrder;
    proxy.sort(column, order);
    for (auto _ : state) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        proxy.sort(column, order);
        benchmark::DoNotOptimize(proxy.mapToSource(proxy.index(0, 0)).row());
    }
    state.SetLabel(ColumnLabel(column));
}
BENCHMARK(BmQtProxyResort)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Sorted by another column untimed, then timed by state.range(0)'s column, as a header click sorts.
template <typename Report> void TimeSortByColumn(benchmark::State& state, Report& report) {
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        report.m_sortColumn = (column + 1) % 3;
        report.InvalidateContent();
        report.UpdateItemCount();
        state.ResumeTiming();
        report.m_sortColumn = column;
        report.InvalidateContent();
        report.UpdateItemCount();
        benchmark::DoNotOptimize(report.Order().data());
    }
}

// A click on another column's header: a sort from scratch (the other column's order says nothing).
void BmGridSortOtherColumn(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(kMillion);
    TimeSortByColumn(state, report);
    state.SetLabel(ColumnLabel(state.range(0)));
}
BENCHMARK(BmGridSortOtherColumn)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

// A report that names no typed keys, as a report whose columns compare in ways of their own: every sort asks
// CompareItems pair by pair. Column 3 is the keyword compared ignoring case, as the kinds' keyword columns
// do.
class ComparedReport : public RecordReport {
  public:
    bool GetSortKey(int /*item*/, CSkinListBox_SortKey& /*key*/) override { return false; }
    int CompareItems(int a, int b) override {
        if (m_sortColumn != kCaseless)
            return RecordReport::CompareItems(a, b);
        return skin::fold::CompareFolded(records[static_cast<std::size_t>(a)].keyword,
                                         records[static_cast<std::size_t>(b)].keyword);
    }
    static constexpr int kCaseless = 3;
};

const char* ComparedLabel(std::int64_t column) {
    return column == ComparedReport::kCaseless ? "text ignoring case" : ColumnLabel(column);
}

// A click on another column's header of a report without typed keys: a sort from scratch by comparisons.
void BmGridCompareOtherColumn(benchmark::State& state) {
    gridbench::GridDialog<ComparedReport> dlg;
    ComparedReport& report = dlg.report;
    report.records = Records(kMillion);
    TimeSortByColumn(state, report);
    state.SetLabel(ComparedLabel(state.range(0)));
}
BENCHMARK(BmGridCompareOtherColumn)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Secondary keys: the amounts decide first, then the given column; such an order is always built by
// comparisons, typed keys or not.
void BmGridSecondaryKeys(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(kMillion);
    report.m_secondaryKeys = true;
    report.m_sortKeys = {RecordReport::kCpc, 0};
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        report.m_sortColumn = column;
        report.InvalidateContent();
        report.UpdateItemCount();
        benchmark::DoNotOptimize(report.Order().data());
    }
    state.SetLabel(column == RecordReport::kVolume ? "amount, then int" : "amount, then text");
}
BENCHMARK(BmGridSecondaryKeys)
    ->Arg(RecordReport::kVolume)
    ->Arg(RecordReport::kKeyword)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

void BmQtProxySortOtherColumn(benchmark::State& state) {
    RecordModel model(Records(kMillion));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        proxy.sort((column + 1) % 3, Qt::AscendingOrder);
        state.ResumeTiming();
        proxy.sort(column, Qt::AscendingOrder);
        benchmark::DoNotOptimize(proxy.mapToSource(proxy.index(0, 0)).row());
    }
    state.SetLabel(ColumnLabel(column));
}
BENCHMARK(BmQtProxySortOtherColumn)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One wheel notch over the grid: the dialog moves the grid's offset, and the grid repaints its rows into its
// back buffer and copies that to the window's (grid == 1); or the whole window is composed again (grid == 0),
// which adds the dialog's own background and title.
void BmWheelRepaint(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(static_cast<int>(state.range(0)));
    report.InvalidateContent();
    dlg.RedrawNow();
    const bool gridOnly = state.range(1) == 1;
    const plat::Point over{10 + kGridWidth / 2, 40 + kGridHeight / 2};
    dlg.onMouseMove(over.x, over.y);
    for (auto _ : state) {
        if (!dlg.onMouseWheel(-120, over.x, over.y)) {
            state.PauseTiming();
            report.m_scrollY = 0;
            state.ResumeTiming();
        }
        if (gridOnly)
            report.Draw(skin::HostWindow(dlg).backBuffer(), report.m_x, report.m_y, true);
        else
            dlg.RedrawNow();
    }
    state.SetLabel(gridOnly ? "grid" : "whole window");
}
BENCHMARK(BmWheelRepaint)
    ->ArgsProduct({{100'000, kMillion}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

// From a million records arriving in an empty grid to the painted window: the selection sized, the order
// built and sorted, the visible lines drawn. Also reports the grid's own containers.
void BmGridFirstPaint(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<GridDialog>();
        dlg->RedrawNow();
        std::vector<Record> records = Records(kMillion);
        dlg->report.records.swap(records);
        state.ResumeTiming();
        dlg->report.InvalidateContent();
        dlg->RedrawNow();
        state.PauseTiming();
        bytes = dlg->report.ContainerBytes();
        dlg.reset();
        state.ResumeTiming();
    }
    state.counters["grid_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BmGridFirstPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return gridbench::RunBenchmarks(argc, argv);
}
