// Column filters of the report grid against Qt's proxy model with a filter that keeps the same rows, on the
// same million records sorted by volume: an include / exclude text filter on the keywords, and a check list
// of 5,000 ticked groups out of 10,000. Each run starts from the unfiltered, sorted view and ends when the
// filtered view is ready. Then the values a check list offers gathered from a million rows, and the filter
// dialog of a check list of 100,000 values: built and painted, and repainted after one wheel notch over its
// list.
#include "bench/grid_bench_support.h"
#include "skin/skin_list_box_filter_dlg.h"
#include "skin/sorted_strings.h"
#include "tests/skin/filter_report.h"

#include <QRegularExpression>
#include <QSet>
#include <QSortFilterProxyModel>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>

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
    for (int g = 0; g < kGroups; g += kGroups / kTicked)
        ticked.append(QStringLiteral("site%1.example").arg(g, 5, 10, QLatin1Char('0')));
    return ticked;
}

// The proxy filter for a check list: the folded cell text in a set of folded ticked values.
class GroupProxy : public QSortFilterProxyModel {
  public:
    void SetTicked(const QStringList& ticked) {
        m_ticked.clear();
        for (const QString& value : ticked)
            m_ticked.insert(value.toCaseFolded());
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

void BmGridTextFilter(benchmark::State& state) {
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
BENCHMARK(BmGridTextFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The proxy either gets the filter before it sees the model, so that it builds its rows filtered and then
// sorts them (the cheapest way it reaches the filtered, sorted view: range 0), or has the filter changed
// while it shows the sorted rows, as when a user filters a sorted view (range 1).
template <class Proxy, class SetFilter>
void RunProxy(benchmark::State& state, QAbstractItemModel& model, SetFilter set) {
    const bool live = state.range(0) == 1;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto proxy = std::make_unique<Proxy>();
        if (live) {
            proxy->setSourceModel(&model);
            proxy->sort(0, Qt::AscendingOrder);
        }
        state.ResumeTiming();
        set(*proxy);
        if (!live) {
            proxy->setSourceModel(&model);
            proxy->sort(0, Qt::AscendingOrder);
        }
        rows = proxy->rowCount();
        state.PauseTiming();
        proxy.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.SetLabel(live ? "filter changed on the sorted view" : "filter set before the model");
}

void BmQtProxyTextFilter(benchmark::State& state) {
    RecordModel model(Records(kMillion));
    const QRegularExpression expression(kTextExpression, QRegularExpression::CaseInsensitiveOption);
    RunProxy<QSortFilterProxyModel>(state, model, [&expression](QSortFilterProxyModel& proxy) {
        proxy.setFilterKeyColumn(2);
        proxy.setFilterRegularExpression(expression);
    });
}
BENCHMARK(BmQtProxyTextFilter)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->Iterations(1);

void BmGridCheckListFilter(benchmark::State& state) {
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
BENCHMARK(BmGridCheckListFilter)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BmQtProxyCheckListFilter(benchmark::State& state) {
    RecordModel model(Records(kMillion), &Groups(kMillion));
    const QStringList ticked = TickedGroups();
    RunProxy<GroupProxy>(state, model, [&ticked](GroupProxy& proxy) { proxy.SetTicked(ticked); });
}
// Changed on the sorted view, this filter takes the proxy minutes per run: only the cheapest way is run.
BENCHMARK(BmQtProxyCheckListFilter)->Arg(0)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(1);

// The values a check list offers, gathered from a million rows with 100,000 different values: all at once
// (range 1), or row by row into the sorted list (range 0), whose insertions move the list's tail each time.
void BmOfferedValues(benchmark::State& state) {
    const bool bulk = state.range(0) == 1;
    QStringList cells;
    cells.reserve(kMillion);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> pick(0, 99'999);
    for (int i = 0; i < kMillion; ++i)
        cells.append(QStringLiteral("site%1.example").arg(pick(rng), 6, 10, QLatin1Char('0')));
    qsizetype offered = 0;
    for (auto _ : state) {
        QStringList values;
        if (bulk)
            InsertSortedUnique(cells, values, true, false);
        else
            for (const QString& cell : cells)
                InsertSortedUnique(cell, values, true, false);
        offered = values.size();
    }
    state.counters["values"] = static_cast<double>(offered);
    state.SetLabel(bulk ? "all at once" : "one by one");
}
BENCHMARK(BmOfferedValues)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(1);

// A report whose check list of groups is ready, sorted, before its dialog opens.
class ReadyGroupsReport : public FilterReport {
  public:
    void GetFilterInfo(CSkinListBox_Column* /*column*/, QStringList& labels) override {
        labels = {QStringLiteral("Show groups:")};
    }
};

constexpr int kOffered = 100'000;

struct CheckListDialog {
    CheckListDialog() {
        QStringList& offered = grid.report.m_columns[FilterReport::kGroup].values2;
        for (int i = 0; i < kOffered; ++i)
            offered.append(QStringLiteral("site%1.example").arg(i, 6, 10, QLatin1Char('0')));
    }
    // The dialog as its filter button opens it, without the modal loop; shown, then hidden, so that a
    // repaint composes the whole window into its back buffer at once.
    std::unique_ptr<CSkinListBox_FilterDlg> Open() {
        auto dlg = std::make_unique<CSkinListBox_FilterDlg>(&grid, &grid.report, 600, 31);
        dlg->m_columnIndex = FilterReport::kGroup;
        dlg->onInitDialog();
        dlg->onActivate(true);
        skin::HostWindow(*dlg).hide();
        dlg->RedrawNow();
        return dlg;
    }
    gridbench::GridDialog<ReadyGroupsReport> grid;
};

void BmFilterDialogBuild(benchmark::State& state) {
    CheckListDialog c;
    for (auto _ : state) {
        auto dlg = c.Open();
        state.PauseTiming();
        dlg.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BmFilterDialogBuild)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BmFilterDialogScroll(benchmark::State& state) {
    CheckListDialog c;
    auto dlg = c.Open();
    const CSkinDlgHolder& list = dlg->m_checkHolder;
    const plat::Point over{list.GetDialogPos().x + list.m_width / 2,
                           list.GetDialogPos().y + list.m_height / 2};
    dlg->onMouseMove(over.x, over.y);
    for (auto _ : state) {
        if (!dlg->onMouseWheel(-120, over.x, over.y) || dlg->m_checkHolder.m_scrollY == 0) {
            state.PauseTiming();
            dlg->m_checkHolder.m_scrollY = 0;
            state.ResumeTiming();
        }
        dlg->RedrawNow();
    }
    state.counters["offset"] = dlg->m_checkHolder.m_scrollY;
}
BENCHMARK(BmFilterDialogScroll)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    return gridbench::RunBenchmarks(argc, argv);
}
