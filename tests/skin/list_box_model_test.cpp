#include "core/number_text.h"
#include "skin/adaptive_merge_sort.h"
#include "skin/distribution_sort.h"
#include "skin/list_box_geometry.h"
#include "skin/sorted_strings.h"
#include "tests/skin/record_report.h"
#include "tests/support/skin_test_support.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <random>

using namespace Qt::StringLiterals;
using skintest::Record;
using skintest::RecordReport;

namespace {

// The record report in a dialog that is never shown, counting its comparisons (and sort key reads) and
// visibility tests and recording what its owner hears. Without keys it sorts through CompareItems alone.
class CountingReport : public RecordReport {
  public:
    int CompareItems(int a, int b) override {
        ++compares;
        const Record& x = records[static_cast<std::size_t>(a)];
        const Record& y = records[static_cast<std::size_t>(b)];
        if (invert && m_sortColumn == kVolume)
            return CompareInt(x.volume, y.volume, true);
        if (invert && m_sortColumn == kCpc)
            return CompareFloat(x.cpc, y.cpc, true);
        if (m_sortColumn == kCaselessKeyword)
            return x.keyword.compare(y.keyword, Qt::CaseInsensitive);
        return RecordReport::CompareItems(a, b);
    }
    bool GetSortKey(int item, CSkinListBox_SortKey& key) override {
        ++compares;
        key.invert = invert;
        return keys && RecordReport::GetSortKey(item, key);
    }
    // The keyword ignoring case, as the kinds compare theirs; no column shows it.
    static constexpr int kCaselessKeyword = 3;
    bool keys = true;
    // Numbers in their natural order descending.
    bool invert = false;
    bool IsItemVisible(int item) override {
        ++visibilityTests;
        return RecordReport::IsItemVisible(item);
    }
    int compares = 0;
    int visibilityTests = 0;
};

struct Grid {
    explicit Grid(std::initializer_list<int> volumes) {
        report.SetupColumns(&shell.dlg.m_rootHolder, 2);
        for (const int v : volumes)
            report.records.push_back({v, static_cast<float>(v), {}});
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
        for (const int item : report.Order())
            out.push_back(report.records[static_cast<std::size_t>(item)].volume);
        return out;
    }
    std::vector<int> Selected() const {
        std::vector<int> out;
        for (int item = 0; item < report.m_itemCount; ++item)
            if (report.IsSelected(item))
                out.push_back(item);
        return out;
    }
    // Applies a change the way a click or a report does, then rebuilds; answers the comparisons it took.
    template <class Change> int Rebuild(Change change) {
        report.compares = 0;
        change();
        report.InvalidateContent();
        report.UpdateItemCount();
        return report.compares;
    }
    void SortBy(int column, int direction) {
        Rebuild([&] {
            report.m_sortColumn = column;
            report.m_sortDirection = direction;
        });
    }
    void FilterVolume(bool on, int max) {
        Rebuild([&] {
            report.m_columns[RecordReport::kVolume].filterOn = on;
            report.m_columns[RecordReport::kVolume].intMax = max;
        });
    }

    skintest::UnshownDialog shell;
    CountingReport report;
    std::vector<int> notified;
};

} // namespace

TEST(ListBoxModel, NoDataRowsSortLastAndEqualKeysKeepItemOrderInBothDirections) {
    Grid g({5, -1, 3, -2, 10, -1, 0, 3, 5});
    g.SortBy(RecordReport::kVolume, 0);
    EXPECT_EQ(g.Volumes(), (std::vector<int>{0, 3, 3, 5, 5, 10, -2, -1, -1}));
    EXPECT_EQ(g.report.Order()[1], 2); // the two 3s in item order
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.Volumes(), (std::vector<int>{10, 5, 5, 3, 3, 0, -2, -1, -1}));
    EXPECT_EQ(g.report.Order()[3], 2);
    EXPECT_EQ(g.report.Order()[7], 1); // the -1s too

    // Amounts: every negative value and NaN is missing and goes last, both ways.
    g.report.records = {{0, 2.5f, {}}, {1, -1.0f, {}}, {2, std::nanf(""), {}}, {3, 0.0f, {}}, {4, 7.25f, {}}};
    for (const int direction : {0, 1}) {
        g.SortBy(RecordReport::kCpc, direction);
        const std::vector<int> head(g.report.Order().begin(), g.report.Order().begin() + 3);
        EXPECT_EQ(head, direction == 0 ? (std::vector<int>{3, 0, 4}) : (std::vector<int>{4, 0, 3}));
    }
}

TEST(ListBoxModel, OrderIsRebuiltOnlyWhenItsInputsChangedAndCheaplyWhenNearlyRight) {
    Grid g({});
    g.report.keys = false;
    for (int i = 0; i < 5000; ++i)
        g.report.records.push_back({(i * 7919) % 1000 - (i % 50 == 0 ? 1001 : 0), 1.0f, {}}); // ties, no data
    g.SortBy(RecordReport::kVolume, 0);
    // Off demand, a report's own call sorts again what it changed in place without telling the grid.
    g.report.records[17].volume = -5000;
    g.report.UpdateItemCount();
    EXPECT_EQ(g.report.Order().front(), 17);
    g.report.m_rebuildOnDemand = true;
    const auto unchanged = [&g] {
        g.report.compares = 0;
        ++g.report.m_changeCount; // what scrolling does
        g.report.UpdateItemCount();
        return g.report.compares;
    };
    EXPECT_EQ(unchanged(), 0);
    const int n = 5000;
    EXPECT_LT(g.Rebuild([&g] { g.report.SelectRange(3, 3); }), 2 * n);
    EXPECT_LT(g.Rebuild([&g] { g.report.m_sortDirection = 1; }), 4 * n);
    EXPECT_LT(g.Rebuild([&g] { g.report.records[17].volume = 999; }), 3 * n);
    EXPECT_GT(g.Rebuild([&g] { g.report.records.push_back({3, 1.0f, {}}); }), 0); // the count changed
    EXPECT_EQ(unchanged(), 0);
    // The order built from the last one equals the order built from scratch.
    const std::vector<int> seeded = g.report.Order();
    g.SortBy(RecordReport::kCpc, 0);
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.report.Order(), seeded);
}

TEST(ListBoxModel, KeyedSortsGiveTheOrderOfTheComparisonsOnEveryKindOfValue) {
    const int ints[] = {-2, -1, 0, 1, -3, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                        7};
    const float inf = std::numeric_limits<float>::infinity();
    const float floats[] = {-1.0f, 0.0f, -0.0f, std::nanf(""), inf, -inf, 0.5f, -7.0f, 1e-40f, -1e-40f};
    // Texts that share long starts, stop early, hold zeros, accents and surrogate pairs.
    const QString pieces[] = {u""_s,       u"ab"_s,         u"abcd"_s,    u"ABCD"_s, QString(1, QChar(0)),
                              u"\u00e9"_s, u"\U0001F600"_s, u"abcdefgh"_s};
    std::mt19937 rng(11);
    std::vector<Record> records;
    for (int i = 0; i < 3000; ++i) {
        Record r;
        r.volume = rng() % 3 ? ints[rng() % std::size(ints)] : static_cast<int>(rng() % 100);
        r.cpc = rng() % 3 ? floats[rng() % std::size(floats)] : static_cast<float>(rng() % 100) / 8.0f;
        for (std::uint32_t n = rng() % 6; n > 0; --n)
            r.keyword += pieces[rng() % std::size(pieces)];
        records.push_back(r);
    }
    for (const std::size_t count : {std::size_t{40}, records.size()}) { // comparison and radix sorts
        Grid keyed({});
        Grid compared({});
        keyed.report.records.assign(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(count));
        compared.report.records = keyed.report.records;
        compared.report.keys = false;
        for (const bool invert : {false, true}) {
            for (const int column : {RecordReport::kVolume, RecordReport::kCpc, RecordReport::kKeyword}) {
                for (const int direction : {0, 1}) {
                    for (Grid* g : {&keyed, &compared}) {
                        g->report.invert = invert;
                        g->SortBy(column, direction);
                    }
                    EXPECT_EQ(keyed.report.Order(), compared.report.Order())
                        << count << " rows, column " << column << " direction " << direction << " invert "
                        << invert;
                }
            }
        }
    }
}

// Records for large sorts: ties, no-data values and negatives in the numbers; texts in mixed case with
// accents, a sharp s, surrogate pairs and shared starts.
std::vector<Record> MixedRecords(int count) {
    const QString pieces[] = {u"blue "_s,         u"Blue "_s,       u"BLUE"_s,       u"\u00e9t\u00e9"_s,
                              u"\u00c9T\u00c9"_s, u"stra\u00dfe"_s, u"\U0001F600"_s, u"\U00010428"_s,
                              u"\U00010400"_s,    u"7"_s,           u"-"_s,          u""_s};
    std::mt19937 rng(29);
    std::vector<Record> records(static_cast<std::size_t>(count));
    for (Record& r : records) {
        const std::uint32_t pick = rng() % 8;
        r.volume = pick == 0 ? -1 : pick == 1 ? -2 : static_cast<int>(rng() % 2000) - (pick == 2 ? 1000 : 0);
        const float floats[] = {-1.0f, -0.5f, std::nanf(""), 0.0f};
        r.cpc = pick < 3 ? floats[rng() % std::size(floats)] : static_cast<float>(rng() % 400) / 4.0f;
        for (std::uint32_t n = rng() % 4; n > 0; --n)
            r.keyword += pieces[rng() % std::size(pieces)];
    }
    return records;
}

// The order the grid promises, by a plain stable sort of the visible items: each key in its direction, no
// data last both ways, then the item order.
std::vector<int> ReferenceOrder(CountingReport& report, const std::vector<std::pair<int, int>>& keys) {
    const auto compare = [&report](int column, int direction, int a, int b) {
        const Record& x = report.records[static_cast<std::size_t>(a)];
        const Record& y = report.records[static_cast<std::size_t>(b)];
        const bool descending = direction == 1;
        switch (column) {
        case RecordReport::kVolume:
            return CompareIntValues(x.volume, y.volume, false, descending);
        case RecordReport::kCpc:
            return CompareFloatValues(x.cpc, y.cpc, false, descending);
        case RecordReport::kKeyword:
            return x.keyword.compare(y.keyword);
        default:
            return x.keyword.compare(y.keyword, Qt::CaseInsensitive);
        }
    };
    std::vector<int> order;
    for (int item = 0; item < static_cast<int>(report.records.size()); ++item)
        if (report.FilterAcceptsInt(RecordReport::kVolume,
                                    report.records[static_cast<std::size_t>(item)].volume))
            order.push_back(item);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (const auto& [column, direction] : keys) {
            const int r = compare(column, direction, a, b);
            if (r != 0)
                return direction == 1 ? r > 0 : r < 0;
        }
        return false;
    });
    return order;
}

TEST(ListBoxModel, LargeSortsByComparisonsGiveTheOrderOfAPlainStableSort) {
    Grid g({});
    g.report.keys = false;
    g.report.records = MixedRecords(30000);
    const int columns[] = {RecordReport::kVolume, RecordReport::kCpc, RecordReport::kKeyword,
                           CountingReport::kCaselessKeyword};
    for (const bool filtered : {false, true}) {
        g.FilterVolume(filtered, 500);
        for (const int column : columns) {
            for (const int direction : {0, 1}) {
                g.SortBy(RecordReport::kVolume == column ? RecordReport::kCpc : RecordReport::kVolume, 0);
                g.SortBy(column, direction); // from scratch: another column came before
                EXPECT_EQ(g.report.Order(), ReferenceOrder(g.report, {{column, direction}}))
                    << "column " << column << " direction " << direction << " filtered " << filtered;
            }
        }
    }
    // Secondary keys decide first, each in its own direction.
    g.report.m_secondaryKeys = true;
    g.report.m_sortKeys = {RecordReport::kCpc, 1, CountingReport::kCaselessKeyword, 0};
    g.SortBy(RecordReport::kVolume, 0);
    EXPECT_EQ(g.report.Order(), ReferenceOrder(g.report, {{RecordReport::kCpc, 1},
                                                          {CountingReport::kCaselessKeyword, 0},
                                                          {RecordReport::kVolume, 0}}));
}

TEST(ListBoxModel, SelectionFollowsItemsThroughSortingAndFiltering) {
    Grid g({30, 10, 20, 40});
    g.SortBy(RecordReport::kVolume, 0);
    g.report.SelectRange(2, 2); // volume 20
    g.SortBy(RecordReport::kVolume, 1);
    EXPECT_EQ(g.report.GetSingleSelection(), 2);

    g.FilterVolume(true, 15); // hides the selected item, which keeps its flag
    EXPECT_EQ(g.report.GetSingleSelection(), -1);
    EXPECT_FALSE(g.report.IsAllSelected());
    EXPECT_EQ(g.Selected(), (std::vector<int>{2}));
    EXPECT_EQ(g.report.VisibleCount(), 1);
    EXPECT_EQ(g.report.m_itemCount, 4); // the report's count stays apart from what is visible ...

    g.report.SelectRange(0, -1); // ... and ranges address every item
    EXPECT_EQ(g.Selected(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(g.report.GetSingleSelection(), 1);
    // Ctrl+A keeps a bulk action to what the user sees: hidden rows are cleared.
    g.report.SelectAllVisible();
    EXPECT_EQ(g.Selected(), (std::vector<int>{1}));
    EXPECT_TRUE(g.report.IsAllSelected());
    g.FilterVolume(false, 0);
    g.report.SelectAllVisible();
    EXPECT_EQ(g.report.GetSingleSelection(), -2);
}

// A range empty once clipped to the items (first after last) clears every item; the owner hears of every
// range, empty or not.
TEST(ListBoxModel, SelectRangeClampsCountsFromTheEndAndEmptyRangesClearTheSelection) {
    struct Case {
        int first;
        int last;
        std::vector<int> selected;
    };
    const Case cases[] = {{0, -1, {0, 1, 2, 3, 4}}, {-1, -1, {4}}, {3, 100, {3, 4}},
                          {-10, 1, {0, 1}},         {4, 2, {}},    {5, 9, {}}};
    for (const Case& c : cases) {
        Grid g({1, 2, 3, 4, 5});
        g.FilterVolume(true, 2); // two visible rows; ranges still address all five items
        g.report.SelectRange(0, 0);
        const std::size_t heard = g.notified.size();
        g.report.SelectRange(c.first, c.last);
        EXPECT_EQ(g.Selected(), c.selected) << c.first << ".." << c.last;
        EXPECT_EQ(g.notified.size(), heard + 1) << c.first << ".." << c.last;
    }
}

TEST(ListBoxModel, OwnerHearsOfSelectionAndCountChangesOnly) {
    Grid g({1, 2, 3});
    EXPECT_EQ(g.notified, (std::vector<int>{0})); // the first rebuild sized the selection
    g.Rebuild([] {});
    g.report.SelectRange(0, -1);
    g.Rebuild([&g] { g.report.records.pop_back(); });
    EXPECT_EQ(g.notified, (std::vector<int>{0, 1, 1})); // both remaining items are still selected
    g.report.m_selectCommand.clear();
    g.report.SelectRange(0, 0);
    EXPECT_EQ(g.notified.size(), 3u);

    Grid empty({});
    EXPECT_EQ(empty.report.GetSingleSelection(), -1);
    EXPECT_FALSE(empty.report.IsAllSelected());
    empty.report.SelectRange(0, -1);
    EXPECT_EQ(empty.notified, (std::vector<int>{0}));
}

TEST(ListBoxFormat, NumbersAreGroupedAndNoDataIsNamed) {
    const std::pair<int, QString> ints[] = {{1234, u"1,234"_s}, {-1234, u"-1,234"_s},
                                            {-123, u"-123"_s},  {-1, u""_s},
                                            {-2, u"No Data"_s}, {1000000, u"1,000,000"_s}};
    for (const auto& [v, text] : ints)
        EXPECT_EQ(FormatInt(v, -1, -2), text) << v;
    const std::pair<float, QString> floats[] = {
        {1234.5f, u"1,234.5"_s}, {3.0f, u"3"_s}, {-1234567.25f, u"-1,234,567.25"_s},
        {-1.0f, u"No Data"_s},   {-2.0f, u""_s}, {std::nanf(""), u"No Data"_s}};
    for (const auto& [v, text] : floats)
        EXPECT_EQ(FormatFloat(v, true, -2.0f, -1.0f), text) << v;
    EXPECT_EQ(FormatFloat(3.0f, false, -2.0f, -1.0f), u"3.00"_s);
    EXPECT_EQ(FormatInt(std::numeric_limits<int>::min(), -1, -2), u"-2,147,483,648"_s);
    EXPECT_EQ(FormatFloat(-999.5f, true, -2.0f, -1.0f), u"-999.5"_s);
    // Every float prints as its two decimals, trimmed, with the integer digits grouped: small, large,
    // negative, rounding to zero and to the next power of ten, and the infinities.
    std::mt19937 rng(5);
    std::vector<float> values = {0.0f,
                                 -0.001f,
                                 0.004f,
                                 0.005f,
                                 9.995f,
                                 999.999f,
                                 1e20f,
                                 -3e38f,
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity()};
    for (int i = 0; i < 2000; ++i)
        values.push_back(std::ldexp(float(rng() % 2000000) / 1000.0f - 1000.0f, int(rng() % 40) - 10));
    std::erase_if(values, [](float v) { return v == -1.0f || v == -2.0f; }); // the empty and no-data values
    for (const float v : values)
        for (const bool trim : {false, true}) {
            QString printed = number_text::FormatFixed(v, 2);
            if (trim && printed.contains(u'.')) {
                while (printed.endsWith(u'0'))
                    printed.chop(1);
                if (printed.endsWith(u'.'))
                    printed.chop(1);
            }
            EXPECT_EQ(FormatFloat(v, trim, -2.0f, -1.0f), GroupDigits(printed)) << v;
        }

    // Texts: only the leading digits are grouped, after a sign; what follows them stays as it is.
    const std::pair<QString, QString> texts[] = {{u"1234 searches"_s, u"1,234 searches"_s},
                                                 {u"-1234"_s, u"-1,234"_s},
                                                 {u"+1234567.5"_s, u"+1,234,567.5"_s},
                                                 {u"123"_s, u"123"_s},
                                                 {u"-123 abc 4567"_s, u"-123 abc 4567"_s},
                                                 {u"searches 1234"_s, u"searches 1234"_s},
                                                 {u"1,234"_s, u"1,234"_s},
                                                 {u"-"_s, u"-"_s},
                                                 {QString(), QString()},
                                                 {u"12345678901234 of 5"_s, u"12,345,678,901,234 of 5"_s}};
    for (const auto& [text, grouped] : texts)
        EXPECT_EQ(GroupDigits(text), grouped) << text.toStdString();
    EXPECT_EQ(skin::BarLabel({12345, 10}), u"123,450.0% (12,345)"_s);
}

TEST(ListBoxCompare, NumberTextsPutNoDataLastThenCompareNumbersAndTheirSecondPart) {
    struct Case {
        QString a;
        QString b;
        bool descending;
        int expected;
    };
    const Case cases[] = {
        {u"N/A"_s, u"5"_s, false, 1},       {u"N/A"_s, u"5"_s, true, -1},
        {u"$1,200"_s, u"$999"_s, false, 1}, {u"<$0.05"_s, u"$0.1"_s, false, -1},
        {u"$5"_s, u"abc"_s, false, 1},      {u"-0"_s, u"0"_s, false, -1},
        {u"-0"_s, u"0"_s, true, 1},         {u"2 - 5"_s, u"2 - 7"_s, false, -1},
        {u"nan"_s, u"1"_s, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareNumberTexts(c.a, c.b, true, u"<$ "_s, u'-', c.descending), c.expected)
            << c.a.toStdString() << " vs " << c.b.toStdString() << (c.descending ? " desc" : " asc");
    }
    EXPECT_EQ(CompareNumberTexts(u"10"_s, u"9"_s, false, {}, u'-', false), -1); // as texts
}

TEST(ListBoxSortedStrings, InsertKeepsOrderAndDuplicatesOnlyWhenAllowed) {
    QStringList list;
    for (const QString& s : {u"pear"_s, u"Apple"_s, u"fig"_s, u"apple"_s, u"Fig"_s})
        InsertSortedUnique(s, list, true, false);
    EXPECT_EQ(list, (QStringList{u"Apple"_s, u"fig"_s, u"pear"_s}));
    EXPECT_TRUE(ContainsSorted(u"FIG"_s, list, true));
    EXPECT_FALSE(ContainsSorted(u"FIG"_s, list, false));
    InsertSortedUnique(u"fig"_s, list, true, true);
    EXPECT_EQ(list.size(), 4);
}

TEST(ListBoxGeometry, BarsChartsAndRowsStayInRange) {
    const std::tuple<QString, int, QString> bars[] = {
        {u"5 A"_s, 50, u"50.0% (5)"_s},     {u"0 A"_s, 0, u""_s},
        {u"14 A"_s, 100, u"200.0% (20)"_s}, {u"FFFFFFFB A"_s, 0, u"-50.0% (-5)"_s},
        {u"5 0"_s, 100, u"500.0% (5)"_s},   {u"junk"_s, 0, u""_s}};
    for (const auto& [text, fill, label] : bars) {
        const skin::BarValue bar = skin::ParseBarText(text);
        EXPECT_EQ(skin::BarFillWidth(100, bar), fill) << text.toStdString();
        EXPECT_EQ(skin::BarLabel(bar), label) << text.toStdString();
    }
    EXPECT_EQ(skin::ParseChartValues(u"100 0 50 -7 250 x 1"_s),
              (std::array<int, 12>{100, 0, 50, 0, 100, 0, 0, 0, 0, 0, 0, 0}));

    // A million rows scrolled to the end, and the designed maximum row count, in 64-bit arithmetic.
    const skin::RowRange end = skin::PaintedRows(1'000'000, 15'000'000 - 600, 31, 15, 700);
    EXPECT_EQ(end.first, 1'000'000 - 40);
    EXPECT_EQ(end.end, 1'000'000);
    EXPECT_EQ(skin::RowsContentHeight(CSkinListBox::kMaxRowCount, 15), std::numeric_limits<int>::max());
    const skin::RowRange huge = skin::PaintedRows(CSkinListBox::kMaxRowCount, 3'000'000'000LL, 31, 15, 700);
    EXPECT_EQ(huge.first, 200'000'000);
    EXPECT_EQ(huge.end - huge.first, 45);
}

TEST(ListBoxSort, MergeAndDistributionSortsAreStableOnEveryShapeOfInputAndSafeWithAnyComparator) {
    std::mt19937 rng(7);
    for (const std::size_t n : {0u, 1u, 2u, 31u, 33u, 5000u}) {
        std::vector<int> keys(n);
        for (int& k : keys)
            k = static_cast<int>(rng() % 50);
        const auto less = [&keys](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        };
        std::vector<int> items(n);
        std::iota(items.begin(), items.end(), 0);
        std::vector<int> expected = items;
        std::stable_sort(expected.begin(), expected.end(), less);
        skin::AdaptiveMergeSort(items, less);
        EXPECT_EQ(items, expected) << n;
        skin::AdaptiveMergeSort(items, less); // already sorted
        EXPECT_EQ(items, expected) << n;
        std::reverse(items.begin(), items.end());
        skin::AdaptiveMergeSort(items, less);
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), less)) << n;
    }
    // Distributed among splitters, items that order every pair come out as a stable sort puts them.
    for (const std::size_t n : {100u, 8192u, 50000u}) {
        std::vector<int> keys(n);
        for (int& k : keys)
            k = static_cast<int>(rng() % 300) - 150;
        const auto less = [&keys](int a, int b) {
            const int x = keys[static_cast<std::size_t>(a)];
            const int y = keys[static_cast<std::size_t>(b)];
            return x < y || (x == y && a < b);
        };
        std::vector<int> items(n);
        std::iota(items.begin(), items.end(), 0);
        std::vector<int> expected = items;
        std::stable_sort(expected.begin(), expected.end(), less);
        skin::DistributionSort(items, less);
        EXPECT_EQ(items, expected) << n;
    }
    for (const std::size_t n : {3000u, 50000u}) {
        // A comparator that is no order at all still leaves every item in place once.
        std::vector<int> items(n);
        std::iota(items.begin(), items.end(), 0);
        skin::AdaptiveMergeSort(
            items, [&rng](int, int) { return rng() % 2 == 0; });
        skin::DistributionSort(items, [&rng](int, int) { return rng() % 2 == 0; });
        std::sort(items.begin(), items.end());
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(items[i], static_cast<int>(i));
    }
}
