#pragma once

// What the grid benchmarks share: a million generated records, the same records as a Qt table model, and a
// dialog holding one report.

#include "platform/device_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg.h"
#include "tests/skin/record_report.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace gridbench {

constexpr int kGridWidth = 1000;
constexpr int kGridHeight = 700;
constexpr int kMillion = 1'000'000;
// Distinct values of the group column.
constexpr int kGroups = 10'000;

using skintest::Record;

inline const std::vector<Record>& Records(int count) {
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

// The group of each record: one of kGroups site names, every third one spelt with capitals.
inline const QStringList& Groups(int count) {
    static std::map<int, QStringList> made;
    QStringList& groups = made[count];
    if (groups.isEmpty()) {
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> pick(0, kGroups - 1);
        groups.reserve(count);
        for (int i = 0; i < count; ++i) {
            const int g = pick(rng);
            const QString name = QStringLiteral("site%1.example").arg(g, 5, 10, QLatin1Char('0'));
            groups.append(g % 3 == 0 ? name.toUpper() : name);
        }
    }
    return groups;
}

// The same records (and, when given, their groups as a fourth column) as a table for Qt's views.
class RecordModel : public QAbstractTableModel {
  public:
    explicit RecordModel(const std::vector<Record>& records, const QStringList* groups = nullptr)
        : m_records(records), m_groups(groups) {}
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_records.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : m_groups ? 4 : 3;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        const Record& r = m_records[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return r.volume;
        case 1:
            return r.cpc;
        case 2:
            return r.keyword;
        default:
            return m_groups ? m_groups->at(index.row()) : QVariant();
        }
    }

  private:
    const std::vector<Record>& m_records;
    const QStringList* m_groups;
};

// A dialog holding one report of kGridWidth x kGridHeight sorted by volume, opened without a modal loop. It
// is hidden again, so that a repaint composes the whole window into its back buffer at once instead of
// waiting for the screen.
template <class Report> class GridDialog : public CSkinDlg {
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
        report.m_sortColumn = skintest::RecordReport::kVolume;
        report.SetPosition(10, 40, kGridWidth, kGridHeight, CSkinElement::kShowFlag);
    }
    Report report;
};

// Runs the benchmarks offscreen with the shipped atlas.
inline int RunBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath()))
        return 1;
    skin::SetAtlas(&atlas);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    skin::SetAtlas(nullptr);
    return 0;
}

} // namespace gridbench
