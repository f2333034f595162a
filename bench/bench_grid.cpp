// The report grid against Qt's proxy model on the same million records (a count, an amount with missing
// values, a text): re-sorting, the repaint after one wheel step, the first paint, and the grid's own memory.
#include "platform/device_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg.h"
#include "tests/skin/record_report.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QSortFilterProxyModel>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <utility>

using skintest::Record;
using skintest::RecordReport;

namespace {

constexpr int kGridWidth = 1000;
constexpr int kGridHeight = 700;
constexpr int kMillion = 1'000'000;

const std::vector<Record>& Records(int count) {
    static std::map<int, std::vector<Record>> made;
    std::vector<Record>& records = made[count];
    if (records.empty()) {
        static const char* const kWords[] = {"blue",   "widget", "cheap", "flights", "garden", "tools",
                                             "online", "best",   "buy",   "red",     "shoes",  "repair"};
        std::mt19937 rng(20240611);
        std::uniform_int_distribution<int> volume(0, 5'000'000);
        std::uniform_int_distribution<int> cents(0, 99'999);
        std::uniform_int_distribution<int> word(0, 11);
        records.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            Record r;
            r.volume = i % 50 == 7 ? -1 : volume(rng);
            r.cpc = i % 7 == 3 ? -1.0f : static_cast<float>(cents(rng)) / 100.0f;
            r.keyword = QString::fromLatin1(kWords[word(rng)]) + u' ' +
                        QString::fromLatin1(kWords[word(rng)]) + u' ' + QString::number(i);
            records.push_back(std::move(r));
        }
    }
    return records;
}

// The same records as a table for Qt's views.
class RecordModel : public QAbstractTableModel {
  public:
    explicit RecordModel(const std::vector<Record>& records) : m_records(records) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_records.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        const Record& r = m_records[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return r.volume;
        case 1:
            return r.cpc;
        default:
            return r.keyword;
        }
    }

  private:
    const std::vector<Record>& m_records;
};

// A dialog holding one grid of kGridWidth x kGridHeight, opened without a modal loop. It is hidden again, so
// that a repaint composes the whole window into its back buffer at once instead of waiting for the screen.
class GridDialog : public CSkinDlg {
  public:
    GridDialog() {
        m_width = kGridWidth + 20;
        m_height = kGridHeight + 50;
        m_keepPosition = true;
        onInitDialog();
        onActivate(true);
        hide();
    }
    void CreateElements() override {
        report.SetupColumns(&m_rootHolder, m_nextElementId++);
        report.m_sortColumn = RecordReport::kVolume;
        report.SetPosition(10, 40, kGridWidth, kGridHeight, CSkinElement::kShowFlag);
    }
    RecordReport report;
};

const char* ColumnLabel(std::int64_t column) {
    return column == 0 ? "int" : column == 1 ? "float with no data" : "text";
}

// A click on the sorted column's header: the same column in the other direction.
void BM_GridResort(benchmark::State& state) {
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
BENCHMARK(BM_GridResort)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_QtProxyResort(benchmark::State& state) {
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
BENCHMARK(BM_QtProxyResort)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

// A click on another column's header: a sort from scratch (the other column's order says nothing).
void BM_GridSortOtherColumn(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(kMillion);
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
    state.SetLabel(ColumnLabel(column));
}
BENCHMARK(BM_GridSortOtherColumn)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_QtProxySortOtherColumn(benchmark::State& state) {
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
BENCHMARK(BM_QtProxySortOtherColumn)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One wheel notch over the grid: the dialog moves the grid's offset, and the grid repaints its rows into its
// back buffer and copies that to the window's (grid == 1); or the whole window is composed again (grid == 0),
// which adds the dialog's own background and title.
void BM_WheelRepaint(benchmark::State& state) {
    GridDialog dlg;
    RecordReport& report = dlg.report;
    report.records = Records(static_cast<int>(state.range(0)));
    report.InvalidateContent();
    dlg.redrawNow();
    const bool gridOnly = state.range(1) == 1;
    const plat::Point over{10 + kGridWidth / 2, 40 + kGridHeight / 2};
    dlg.onMouseMove(over.x, over.y);
    for (auto _ : state) {
        if (!dlg.onMouseWheel(-120, over.x, over.y)) {
            state.PauseTiming();
            report.m_scrollY = 0;
            state.ResumeTiming();
        }
        if (gridOnly) {
            report.Draw(dlg.backBuffer(), report.m_x, report.m_y, true);
        } else {
            dlg.redrawNow();
        }
    }
    state.SetLabel(gridOnly ? "grid" : "whole window");
}
BENCHMARK(BM_WheelRepaint)
    ->ArgsProduct({{100'000, kMillion}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);

// From a million records arriving in an empty grid to the painted window: the selection sized, the order
// built and sorted, the visible lines drawn. Also reports the grid's own containers.
void BM_GridFirstPaint(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto dlg = std::make_unique<GridDialog>();
        dlg->redrawNow();
        std::vector<Record> records = Records(kMillion);
        dlg->report.records.swap(records);
        state.ResumeTiming();
        dlg->report.InvalidateContent();
        dlg->redrawNow();
        state.PauseTiming();
        bytes = dlg->report.ContainerBytes();
        dlg.reset();
        state.ResumeTiming();
    }
    state.counters["grid_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_GridFirstPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::atlasPath())) {
        return 1;
    }
    skin::SetAtlas(&atlas);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    skin::SetAtlas(nullptr);
    return 0;
}
