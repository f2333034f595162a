#include "skin/adaptive_merge_sort.h"
#include "skin/list_box_compare.h"
#include "skin/list_box_format.h"
#include "skin/list_box_geometry.h"
#include "skin/sorted_strings.h"
#include "tests/skin/record_report.h"
#include "tests/skin/skin_test_support.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;
using skintest::Record;
using skintest::RecordReport;

namespace {

// A report set up in a dialog that is never shown, with every owner notification recorded and every
// comparison and visibility test counted.
class CountingReport : public RecordReport {
  public:
    int CompareItems(int a, int b) override {
        ++compares;
        return RecordReport::CompareItems(a, b);
    }
    bool IsItemVisible(int item) override {
        ++visibilityTests;
        return RecordReport::IsItemVisible(item);
    }
    int compares = 0;
    int visibilityTests = 0;
};

struct Grid {
    explicit Grid(std::vector<Record> records) {
        report.SetupColumns(&shell.dlg.m_rootHolder, 2);
        report.records = std::move(records);
        report.m_selectCommand = u"report_select"_s;
        report.m_owner = [this](const QString& command, int param, CSkinDlg_Base* dialog) {
            EXPECT_EQ(command, u"report_select"_s);
            EXPECT_EQ(dialog, &shell.dlg);
            notified.push_back(param);
        };
        report.UpdateItemCount();
    }
    std::vector<int> Volumes() const {
        std::vector<int> out;
        for (const int item : report.Order()) {
            out.push_back(report.records[static_cast<std::size_t>(item)].volume);
        }
        return out;
    }
    void SortBy(int column, int direction) {
        report.m_sortColumn = column;
        report.m_sortDirection = direction;
        report.InvalidateContent();
        report.UpdateItemCount();
    }
    void FilterVolume(bool on, int min, int max) {
        CSkinListBox_Column& c = report.m_columns[RecordReport::kVolume];
        c.filterOn = on;
        c.intMin = min;
        c.intMax = max;
        report.InvalidateContent();
        report.UpdateItemCount();
    }

    skintest::UnshownDialog shell;
    CountingReport report;
    std::vector<int> notified;
};

std::vector<Record> Volumes(std::initializer_list<int> volumes) {
    std::vector<Record> out;
    for (const int v : volumes) {
        out.push_back({v, static_cast<float>(v), u"k%1"_s.arg(out.size())});
    }
    return out;
}

} // namespace

TEST(ListBoxModel, NoDataRowsSortLastInBothDirections) {
    Grid g(Volumes({5, -1, 3, -2, 10, -1, 0}));
    g.SortBy(RecordReport::kVolume, 0);
    EXPECT_EQ(g.Volumes(), (std::vector<int>{0, 3, 5, 10, -2, -1, -1}));
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.Volumes(), (std::vector<int>{10, 5, 3, 0, -2, -1, -1}));

    // Amounts: every negative value and NaN is missing and goes last, both ways.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    g.report.records = {{0, 2.5f, {}}, {1, -1.0f, {}}, {2, nan, {}},
                        {3, 0.0f, {}}, {4, 7.25f, {}}, {5, -3.0f, {}}};
    g.report.InvalidateContent();
    for (const int direction : {0, 1}) {
        g.SortBy(RecordReport::kCpc, direction);
        const std::vector<int> expectedReal =
            direction == 0 ? std::vector<int>{3, 0, 4} : std::vector<int>{4, 0, 3};
        EXPECT_EQ(std::vector<int>(g.report.Order().begin(), g.report.Order().begin() + 3), expectedReal);
        for (std::size_t p = 3; p < g.report.Order().size(); ++p) {
            const float v = g.report.records[static_cast<std::size_t>(g.report.Order()[p])].cpc;
            EXPECT_TRUE(std::isnan(v) || v < 0) << "direction " << direction << " position " << p;
        }
    }
}

TEST(ListBoxModel, EqualKeysKeepItemOrderInBothDirections) {
    std::vector<Record> records;
    for (int i = 0; i < 200; ++i) {
        records.push_back({i % 3, 1.0f, u"k"_s});
    }
    Grid g(records);
    for (const int direction : {0, 1}) {
        g.SortBy(RecordReport::kVolume, direction);
        const std::vector<int>& order = g.report.Order();
        for (std::size_t p = 1; p < order.size(); ++p) {
            const Record& a = g.report.records[static_cast<std::size_t>(order[p - 1])];
            const Record& b = g.report.records[static_cast<std::size_t>(order[p])];
            if (a.volume == b.volume) {
                EXPECT_LT(order[p - 1], order[p]) << "direction " << direction;
            }
        }
    }
}

TEST(ListBoxModel, OrderIsRebuiltOnlyWhenSomethingItDependsOnChanged) {
    Grid g(Volumes({4, 2, 9, 1}));
    g.SortBy(RecordReport::kVolume, 0);
    const auto rebuilds = [&g](auto change) {
        g.report.compares = 0;
        change();
        g.report.UpdateItemCount();
        return g.report.compares > 0;
    };
    EXPECT_FALSE(rebuilds([] {}));
    EXPECT_FALSE(rebuilds([&g] { ++g.report.m_changeCount; })); // scrolling raises the counter
    EXPECT_TRUE(rebuilds([&g] { g.report.InvalidateContent(); }));
    EXPECT_TRUE(rebuilds([&g] { g.report.records.push_back({3, 1.0f, {}}); }));
    EXPECT_TRUE(rebuilds([&g] { g.report.Rebuild(true); }));
    EXPECT_TRUE(rebuilds([&g] { g.report.SelectRange(0, 0); }));
    EXPECT_EQ(g.Volumes(), (std::vector<int>{1, 2, 3, 4, 9}));
}

TEST(ListBoxModel, ReSortingAnOrderThatIsNearlyRightCostsAboutOneComparisonPerRow) {
    std::vector<Record> records;
    for (int i = 0; i < 5000; ++i) {
        records.push_back({(i * 7919) % 1000 - (i % 50 == 0 ? 1001 : 0), 1.0f, {}}); // ties and no data
    }
    Grid g(records);
    g.SortBy(RecordReport::kVolume, 0);
    const auto cost = [&g](auto change) {
        g.report.compares = 0;
        change();
        g.report.UpdateItemCount();
        return g.report.compares;
    };
    const int n = 5000;
    EXPECT_LT(cost([&g] { g.report.SelectRange(3, 3); }), 2 * n);
    EXPECT_LT(cost([&g] {
                  g.report.m_sortDirection = 1;
                  g.report.InvalidateContent();
              }),
              4 * n);
    EXPECT_LT(cost([&g] {
                  g.report.records[17].volume = 999;
                  g.report.Rebuild(true);
              }),
              3 * n);
    const std::vector<int> before = g.report.Order();
    g.SortBy(RecordReport::kCpc, 0); // another column sorts from scratch, and back again
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.report.Order(), before);
}

TEST(ListBoxModel, VisibilityTestIsSkippedOnlyForFilterOnlyReportsWithoutActiveFilter) {
    Grid g(Volumes({1, 50, 200}));
    g.report.m_visibilityByFiltersOnly = false;
    g.report.visibilityTests = 0;
    g.report.InvalidateContent();
    g.report.UpdateItemCount();
    EXPECT_EQ(g.report.visibilityTests, 3); // by default the report decides for every row

    g.report.m_visibilityByFiltersOnly = true;
    g.report.visibilityTests = 0;
    g.report.InvalidateContent();
    g.report.UpdateItemCount();
    EXPECT_EQ(g.report.visibilityTests, 0);
    EXPECT_EQ(g.report.VisibleCount(), 3);

    g.FilterVolume(true, 10, 100);
    EXPECT_EQ(g.Volumes(), (std::vector<int>{50}));
}

TEST(ListBoxModel, SelectionFollowsItemsThroughSortingAndFiltering) {
    Grid g(Volumes({30, 10, 20, 40}));
    g.SortBy(RecordReport::kVolume, 0);
    g.report.SelectRange(2, 2); // volume 20
    EXPECT_EQ(g.report.GetSingleSelection(), 2);
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.report.GetSingleSelection(), 2);

    g.FilterVolume(true, 25, 100); // hides the selected item, which keeps its flag
    EXPECT_EQ(g.report.GetSingleSelection(), -1);
    EXPECT_FALSE(g.report.IsAllSelected());
    EXPECT_TRUE(g.report.IsSelected(2));
    EXPECT_EQ(g.report.VisibleCount(), 2);
    EXPECT_EQ(g.report.m_itemCount, 4); // the report's count stays apart from what is visible ...

    g.report.SelectRange(0, -1); // ... yet ranges are item indices over the whole report
    for (int item = 0; item < 4; ++item) {
        EXPECT_TRUE(g.report.IsSelected(item)) << item;
    }
    EXPECT_EQ(g.report.GetSingleSelection(), -2);

    // Ctrl+A keeps a bulk action to what the user sees: hidden rows are cleared.
    g.report.SelectAllVisible();
    EXPECT_TRUE(g.report.IsAllSelected());
    EXPECT_FALSE(g.report.IsSelected(1));
    EXPECT_FALSE(g.report.IsSelected(2));
    g.FilterVolume(false, 0, 0);
    g.report.SelectAllVisible();
    EXPECT_TRUE(g.report.IsAllSelected());
}

TEST(ListBoxModel, SelectRangeClampsCountsFromTheEndAndIgnoresEmptyRanges) {
    struct Case {
        int first;
        int last;
        std::vector<int> selected; // empty: the range changes nothing
    };
    const Case cases[] = {
        {0, -1, {0, 1, 2, 3, 4}}, {-1, -1, {4}}, {3, 100, {3, 4}}, {-10, 1, {0, 1}},
        {-2, -1, {3, 4}},         {4, 2, {}},    {5, 9, {}},       {2, 2, {2}},
    };
    for (const Case& c : cases) {
        Grid g(Volumes({1, 2, 3, 4, 5}));
        g.FilterVolume(true, 1, 2); // two visible rows; ranges still address all five items
        g.report.SelectRange(0, 0);
        const std::size_t before = g.notified.size();
        g.report.SelectRange(c.first, c.last);
        const std::vector<int> expected = c.selected.empty() ? std::vector<int>{0} : c.selected;
        for (int item = 0; item < 5; ++item) {
            const bool want = std::find(expected.begin(), expected.end(), item) != expected.end();
            EXPECT_EQ(g.report.IsSelected(item), want) << c.first << ".." << c.last << " item " << item;
        }
        EXPECT_EQ(g.notified.size(), before + (c.selected.empty() ? 0 : 1)) << c.first << ".." << c.last;
    }
}

TEST(ListBoxModel, OwnerHearsOfSelectionChangesAndCountChangesOnly) {
    Grid g(Volumes({1, 2, 3}));
    EXPECT_EQ(g.notified, (std::vector<int>{0})); // the first rebuild sized the selection
    g.report.InvalidateContent();
    g.report.UpdateItemCount();
    EXPECT_EQ(g.notified.size(), 1u);
    g.report.SelectRange(0, -1);
    EXPECT_EQ(g.notified.back(), 1);
    g.report.records.pop_back();
    g.report.UpdateItemCount();
    EXPECT_EQ(g.notified.size(), 3u);
    EXPECT_EQ(g.notified.back(), 1); // both remaining items are still selected

    g.report.m_selectCommand.clear();
    g.report.SelectRange(0, 0);
    EXPECT_EQ(g.notified.size(), 3u);
}

TEST(ListBoxModel, EmptyReportHasNoOrderNoLinesAndNoSelection) {
    Grid g({});
    EXPECT_EQ(g.report.VisibleCount(), 0);
    EXPECT_TRUE(g.report.Lines().empty());
    EXPECT_EQ(g.report.GetSingleSelection(), -1);
    EXPECT_FALSE(g.report.IsAllSelected());
    g.report.SelectRange(0, -1);
    EXPECT_TRUE(g.notified.empty());
    g.report.DrawLine(7); // an index beyond the painted lines is ignored
    EXPECT_EQ(g.report.HoveredLine(), nullptr);
}

TEST(ListBoxModel, CellsArePlacedInTheirColumnAndCutAtItsEnd) {
    Grid g(Volumes({1}));
    CSkinListBox_Line line;
    g.report.InitLine(0, 0, 0, line);
    const QString longText = QString(u"word "_s).repeated(60);
    const int right = g.report.AddCell(line, longText, 0, 0, RecordReport::kKeyword, 65535);
    EXPECT_EQ(right, 200); // the keyword column is 200 wide
    EXPECT_EQ(g.report.AddCell(line, u"x"_s, -30, 0, RecordReport::kVolume, 65535),
              50 + g.report.BackBuffer().getTextExtent(u"x"_s).cx); // from the right end
    EXPECT_EQ(g.report.AddCell(line, u"x"_s, 7, 0, 99, 65535), 7);  // no such column: nothing added
    ASSERT_EQ(line.cells.size(), 2u);
    EXPECT_EQ(line.cells[1].firstColumn, RecordReport::kVolume);

    // A message spans columns; -1 reaches the last one.
    const int spanRight = g.report.AddLineMessage(line, longText, 0, 0, RecordReport::kVolume, -1, 65535);
    EXPECT_EQ(spanRight, 80 + 10 + 80 + 10 + 200);
    EXPECT_EQ(line.cells.back().lastColumn, RecordReport::kKeyword);
}

TEST(ListBoxModel, ColumnGroupsCountTheirMembers) {
    Grid g({});
    std::vector<CSkinListBox_Column>& cols = g.report.m_columns;
    cols.assign(6, CSkinListBox_Column{});
    const int roles[] = {0, 1, 2, 2, 1, 2};
    for (std::size_t i = 0; i < cols.size(); ++i) {
        cols[i].groupRole = roles[i];
    }
    g.report.ComputeColumnGroups();
    EXPECT_EQ(cols[1].memberCount, 2);
    EXPECT_EQ(cols[4].memberCount, 1);
}

TEST(ListBoxFormat, NumbersAreGroupedAndNoDataIsNamed) {
    struct IntCase {
        int v;
        QString text;
    };
    const IntCase ints[] = {{1234, u"1,234"_s},
                            {-1234, u"-1,234"_s},
                            {-123, u"-123"_s},
                            {0, u"0"_s},
                            {-1, u""_s},
                            {-2, u"No Data"_s},
                            {1000000, u"1,000,000"_s},
                            {std::numeric_limits<int>::min(), u"-2,147,483,648"_s}};
    for (const IntCase& c : ints) {
        EXPECT_EQ(FormatInt(c.v, -1, -2), c.text) << c.v;
    }
    EXPECT_EQ(FormatInt(-2, -1, -2, u"n/a"_s), u"n/a"_s);

    struct FloatCase {
        float v;
        bool trim;
        QString text;
    };
    const FloatCase floats[] = {{1234.5f, true, u"1,234.5"_s}, {3.0f, true, u"3"_s},
                                {3.0f, false, u"3.00"_s},      {-1234567.25f, true, u"-1,234,567.25"_s},
                                {-0.5f, true, u"-0.5"_s},      {-1.0f, true, u"No Data"_s},
                                {-2.0f, true, u""_s},          {std::nanf(""), true, u"No Data"_s}};
    for (const FloatCase& c : floats) {
        EXPECT_EQ(FormatFloat(c.v, c.trim, -2.0f, -1.0f), c.text) << c.v;
    }
    // Each call answers its own text.
    const QString first = FormatInt(1, -1, -2);
    const QString second = FormatInt(2, -1, -2);
    EXPECT_EQ(first, u"1"_s);
    EXPECT_EQ(second, u"2"_s);
}

TEST(ListBoxCompare, NumberTextsPutNoDataLastAndCompareNumbersThenTheirSecondPart) {
    struct Case {
        QString a;
        QString b;
        bool numeric;
        bool descending;
        int expected;
    };
    const QString trim = u"<$ "_s;
    const Case cases[] = {
        {u"N/A"_s, u"5"_s, true, false, 1},        {u"N/A"_s, u"5"_s, true, true, -1},
        {u"5"_s, u"-"_s, true, false, -1},         {u"N/A"_s, u""_s, true, false, 1},
        {u"$1,200"_s, u"$999"_s, true, false, 1},  {u"<$0.05"_s, u"$0.10"_s, true, false, -1},
        {u"$5"_s, u"abc"_s, true, false, 1},       {u"-3"_s, u"3-4"_s, true, false, -1},
        {u"-0"_s, u"0"_s, true, false, -1},        {u"-0"_s, u"0"_s, true, true, 1},
        {u"2 - 5"_s, u"2 - 7"_s, true, false, -1}, {u"2 - 5"_s, u"2 - 5"_s, true, false, 0},
        {u"b"_s, u"a"_s, false, false, 1},         {u"10"_s, u"9"_s, false, false, -1},
        {u"nan"_s, u"1"_s, true, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNumberTexts(c.a, c.b, c.numeric, trim, u'-', c.descending), c.expected)
            << c.a.toStdString() << " vs " << c.b.toStdString() << (c.descending ? " desc" : " asc");
    }
    EXPECT_EQ(CompareIntValues(5, 3, true, false), -1);
    EXPECT_EQ(CompareFloatValues(5.0f, 3.0f, true, false), -1);
}

TEST(ListBoxSortedStrings, InsertKeepsOrderAndDuplicatesOnlyWhenAllowed) {
    QStringList list;
    for (const QString& s : {u"pear"_s, u"Apple"_s, u"fig"_s, u"apple"_s, u"Fig"_s}) {
        InsertSortedUnique(s, list, true, false);
    }
    EXPECT_EQ(list, (QStringList{u"Apple"_s, u"fig"_s, u"pear"_s}));
    EXPECT_TRUE(ContainsSorted(u"FIG"_s, list, true));
    EXPECT_FALSE(ContainsSorted(u"FIG"_s, list, false));
    InsertSortedUnique(u"fig"_s, list, true, true);
    EXPECT_EQ(list.size(), 4);
}

TEST(ListBoxGeometry, LayoutSharesSpareRoomWithoutDividingByZero) {
    std::vector<CSkinListBox_Column> cols(3);
    cols[1].groupRole = CSkinListBox_Column::kGroupHead;
    skin::DistributeColumnWidths(cols, 403); // all widths 0: the room is shared equally
    EXPECT_EQ(cols[0].width, (403 - 3 - 20) / 2);
    EXPECT_EQ(cols[2].width, cols[0].width);
    EXPECT_EQ(cols[1].width, 0);

    cols[0].width = cols[0].baseWidth = 100;
    cols[2].width = cols[2].baseWidth = 300;
    cols[2].minWidth = 50;
    skin::DistributeColumnWidths(cols, 100); // too narrow: nothing shrinks below its base
    EXPECT_EQ(cols[0].width, 100);
    EXPECT_EQ(cols[2].width, 300);
    skin::DistributeColumnWidths(cols, 423 + 400);
    EXPECT_EQ(cols[0].width, 200);
    EXPECT_EQ(cols[2].width, 600);
}

TEST(ListBoxGeometry, BarsAndChartsClampTheirFill) {
    struct Case {
        QString text;
        int fill; // of a 100-px track
        QString label;
    };
    const Case cases[] = {
        {u"5 A"_s, 50, u"50.0% (5)"_s},     {u"0 A"_s, 0, u""_s},
        {u"14 A"_s, 100, u"200.0% (20)"_s}, {u"FFFFFFFB A"_s, 0, u"-50.0% (-5)"_s},
        {u"5 0"_s, 100, u"500.0% (5)"_s},   {u"junk"_s, 0, u""_s},
        {u"3"_s, 100, u"300.0% (3)"_s},
    };
    for (const Case& c : cases) {
        const skin::BarValue bar = skin::ParseBarText(c.text);
        EXPECT_EQ(skin::BarFillWidth(100, bar), c.fill) << c.text.toStdString();
        EXPECT_EQ(skin::BarLabel(bar), c.label) << c.text.toStdString();
    }
    const std::array<int, 12> chart = skin::ParseChartValues(u"100 0 50 -7 250 x 1"_s);
    EXPECT_EQ(chart, (std::array<int, 12>{100, 0, 50, 0, 100, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ListBoxGeometry, RowArithmeticHoldsBeyondThirtyTwoBits) {
    // A million rows scrolled to the end, and the designed maximum row count.
    const skin::RowRange end = skin::PaintedRows(1'000'000, 15'000'000 - 600, 31, 15, 700);
    EXPECT_EQ(end.end, 1'000'000);
    EXPECT_EQ(end.first, 1'000'000 - 40);
    EXPECT_EQ(skin::RowsContentHeight(1'000'000, 15), 15'000'001);
    EXPECT_EQ(skin::RowsContentHeight(CSkinListBox::kMaxRowCount, 15), std::numeric_limits<int>::max());
    const skin::RowRange huge = skin::PaintedRows(CSkinListBox::kMaxRowCount, 3'000'000'000LL, 31, 15, 700);
    EXPECT_EQ(huge.first, 200'000'000);
    EXPECT_EQ(huge.end - huge.first, 45);
    EXPECT_EQ(skin::PaintedRows(0, 0, 31, 15, 700).end, 0);
}

TEST(ListBoxSort, AdaptiveMergeSortMatchesAStableSortOnEveryShapeOfInput) {
    std::mt19937 rng(7);
    for (const std::size_t n : {0u, 1u, 2u, 31u, 32u, 33u, 1000u, 5000u}) {
        std::vector<int> keys(n);
        for (int& k : keys) {
            k = static_cast<int>(rng() % 50);
        }
        const auto less = [&keys](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        };
        std::vector<int> ascending(n);
        std::iota(ascending.begin(), ascending.end(), 0);
        std::vector<int> expected = ascending;
        std::stable_sort(expected.begin(), expected.end(), less);
        std::vector<int> sortedFirst = expected;
        std::vector<int> reversedSorted(expected.rbegin(), expected.rend());
        for (std::vector<int>* input : {&ascending, &sortedFirst}) {
            skin::AdaptiveMergeSort(*input, less);
            EXPECT_EQ(*input, expected) << n;
        }
        // A reversed order keeps equal items reversed (the sort is stable), but is sorted by key.
        skin::AdaptiveMergeSort(reversedSorted, less);
        EXPECT_TRUE(std::is_sorted(reversedSorted.begin(), reversedSorted.end(), less)) << n;
    }
    // A comparator that is no order at all still leaves every item in place once.
    std::vector<int> items(3000);
    std::iota(items.begin(), items.end(), 0);
    skin::AdaptiveMergeSort(items, [&rng](int, int) { return rng() % 2 == 0; });
    std::sort(items.begin(), items.end());
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(items[static_cast<std::size_t>(i)], i);
    }
}
