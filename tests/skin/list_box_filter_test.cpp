#include "skin/case_fold.h"
#include "skin/folded_string_set.h"
#include "skin/sorted_strings.h"
#include "tests/skin/filter_report.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;
using skintest::FilterReport;
using skintest::Record;

namespace {

// The filter report in a dialog that is never shown.
struct FilterGrid {
    explicit FilterGrid(std::vector<std::pair<Record, QString>> rows) {
        report.SetupColumns(&shell.dlg.m_rootHolder, 2);
        for (auto& [record, group] : rows) {
            report.records.push_back(std::move(record));
            report.groups.append(std::move(group));
        }
        report.m_sortColumn = FilterReport::kVolume;
        report.UpdateItemCount();
    }
    CSkinListBox_Column& Column(int id) { return report.m_columns[static_cast<std::size_t>(id)]; }
    // Volumes of the rows the filters leave, in display order.
    std::vector<int> Shown() {
        report.InvalidateContent();
        report.UpdateItemCount();
        std::vector<int> out;
        for (const int item : report.Order())
            out.push_back(report.records[static_cast<std::size_t>(item)].volume);
        return out;
    }

    skintest::UnshownDialog shell;
    FilterReport report;
};

// Records with the group each belongs to.
std::vector<std::pair<Record, QString>> Rows() {
    return {
        {{0, 0.5f, u"Cheap flights"_s}, u"site a"_s},     {{1, 1.0f, u"cheaper hotels"_s}, u"Site A"_s},
        {{2, 2.5f, u"not so cheap"_s}, u"site b"_s},      {{3, -1.0f, u"cheap free tickets"_s}, u"site c"_s},
        {{4, 7.0f, u"freedom cheap-ish"_s}, u"a site"_s}, {{5, 12.0f, u"cheapskate4"_s}, u"SITE B"_s},
        {{6, 3.0f, u"expensive flights"_s}, u"site c"_s}};
}

} // namespace

TEST(ListBoxFilter, WildcardPatternsMatchWholeWordsUnlessStarredAndIgnoreCase) {
    struct Case {
        QString text, pattern;
        int expected;
    };
    const Case cases[] = {
        {u"cheap flights"_s, u"cheap*"_s, 0},
        {u"cheaper flights"_s, u"cheap*"_s, 0},
        {u"not so cheap"_s, u"cheap*"_s, 7},
        {u"Cheap Flights"_s, u"cheap*"_s, 0}, // patterns are stored lower-cased
        {u"free tickets"_s, u"free"_s, 0},
        {u"freedom"_s, u"free"_s, -1},
        {u"booking"_s, u"*ing"_s, 4},
        {u"ring-road"_s, u"*ing"_s, -1}, // the '-' after the core rejects it, and there is no other
        {u"my words"_s, u"word"_s, -1},
        {u"bookings"_s, u"*ook*"_s, 1},
        {u"x1cheap"_s, u"*cheap"_s, -1}, // a digit before never passes
        {u"cheapo cheap"_s, u"cheap"_s, 7},
        {u"cheapcheap cheap"_s, u"*cheap"_s, 5},
        {u"very cheap flights now"_s, u"cheap flights"_s, 5},
        {u"\U0001D49Ccheap"_s, u"*cheap"_s, 2}, // a letter outside the basic plane
        {u"\U0001D49Ccheap"_s, u"cheap"_s, -1},
        {u"123"_s, u"*"_s, 0}, // stars alone match anything
        {QString(), u"**"_s, 0},
        {u"cheap"_s, u"cheaper"_s, -1},
    };
    FilterGrid g({});
    for (const Case& c : cases) {
        EXPECT_EQ(g.report.MatchWildcard(c.text, c.pattern), c.expected)
            << c.text.toStdString() << " / " << c.pattern.toStdString();
    }
}

TEST(ListBoxFilter, EachFilterTypeHidesTheRowsItRejects) {
    using Set = std::function<void(CSkinListBox_Column&)>;
    struct Case {
        const char* name;
        int column; // its filter is switched on; -1 none
        Set set;
        std::vector<int> shown;
    };
    const int keyword = FilterReport::kKeyword;
    const int group = FilterReport::kGroup;
    const auto type = [](int filterType, Set then) {
        return [filterType, then](CSkinListBox_Column& c) {
            c.filterType = filterType;
            then(c);
        };
    };
    const Case cases[] = {
        {"all filters off", -1, [](CSkinListBox_Column&) {}, {0, 1, 2, 3, 4, 5, 6}},
        {"include cheap*, exclude free",
         keyword,
         [](CSkinListBox_Column& c) {
             c.values = {u"cheap*"_s};
             c.values2 = {u"free"_s};
         },
         {0, 1, 2, 5}}, // "cheap-ish": the '-' after the core rejects it
        {"exclude only",
         keyword,
         [](CSkinListBox_Column& c) {
             c.values2 = {u"*flights"_s, u"*cheap*"_s};
         },
         {4}},
        {"two include patterns",
         keyword,
         [](CSkinListBox_Column& c) {
             c.values = {u"flights"_s, u"*ish"_s};
         },
         {0, 6}},
        {"exact values ignore case",
         group,
         [](CSkinListBox_Column& c) {
             c.values = {u"SITE A"_s, u"site c"_s};
         },
         {0, 1, 3, 6}},
        {"no value ticked hides every row", group, [](CSkinListBox_Column&) {}, {}},
        {"contained values are case-sensitive and skip empty ones",
         group,
         type(CSkinListBox_Column::kFilterContainedValues,
              [](CSkinListBox_Column& c) {
                  c.values = {QString(), u"a "_s, u"e b"_s};
              }),
         {2, 4}},
        {"only empty contained values",
         group,
         type(CSkinListBox_Column::kFilterContainedValues,
              [](CSkinListBox_Column& c) { c.values = {QString()}; }),
         {}},
        {"one value, exact",
         group,
         type(CSkinListBox_Column::kFilterOneValue,
              [](CSkinListBox_Column& c) { c.filterText = u"site b"_s; }),
         {2, 5}},
        {"one value, contained",
         group,
         type(CSkinListBox_Column::kFilterOneValueContains,
              [](CSkinListBox_Column& c) {
                  c.filterText = u"site"_s;
                  c.filterText2 = u"1"_s;
              }),
         {0, 2, 3, 4, 6}},
        {"integer range",
         FilterReport::kVolume,
         [](CSkinListBox_Column& c) {
             c.intMin = 2;
             c.intMax = 4;
         },
         {2, 3, 4}},
        {"float range, no data below it",
         FilterReport::kCpc,
         [](CSkinListBox_Column& c) {
             c.floatMin = 1.0f;
             c.floatMax = 7.0f;
         },
         {1, 2, 4, 6}},
        {"a text test on a range column passes",
         FilterReport::kVolume,
         type(CSkinListBox_Column::kFilterIncludeExclude,
              [](CSkinListBox_Column& c) { c.values = {u"x"_s}; }),
         {0, 1, 2, 3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        FilterGrid g(Rows());
        if (c.column >= 0) {
            c.set(g.Column(c.column));
            g.Column(c.column).filterOn = true;
        }
        EXPECT_EQ(g.Shown(), c.shown) << c.name;
    }
    FilterGrid g(Rows());
    EXPECT_TRUE(g.report.FilterAcceptsText(99, u"no such column"_s));
    EXPECT_TRUE(g.report.FilterAcceptsInt(99, -5));
}

// Texts equal but for case are one entry, exactly as Qt compares them ignoring case.
TEST(ListBoxFilter, FoldedTextsMatchAsQtComparesThem) {
    const std::pair<QString, QString> pairs[] = {
        {u"site A"_s, u"SITE a"_s},
        {u"\u00C4pfel"_s, u"\u00E4PFEL"_s},
        {u"\u212A"_s, u"k"_s},                    // Kelvin sign
        {u"x\U00010400yz"_s, u"X\U00010428YZ"_s}, // outside the basic plane, across a word of four
        {u"stra\u00DFe"_s, u"STRASSE"_s},
        {u"abcdefgh1"_s, u"ABCDEFGH2"_s},
        {u"@[`{"_s, u"`{@["_s}, // neighbours of the letters fold to nothing
        {u"abc"_s, u"abcd"_s},
        {QString(), QString()},
    };
    for (const auto& [a, b] : pairs) {
        skin::FoldedStringSet set;
        EXPECT_TRUE(set.Insert(a));
        EXPECT_EQ(set.Insert(b), a.compare(b, Qt::CaseInsensitive) != 0)
            << a.toStdString() << " / " << b.toStdString();
        EXPECT_TRUE(set.Contains(b));
    }
    // Texts longer than usual, and enough of them that the set grows.
    skin::FoldedStringSet many;
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(many.Insert(u"Entry %1 "_s.arg(i).repeated(i % 30 + 1)));
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(many.Contains(u"ENTRY %1 "_s.arg(i).repeated(i % 30 + 1))) << i;
    EXPECT_FALSE(many.Contains(u"entry 1000 "_s));
    EXPECT_EQ(many.Size(), 1000u);
}

// The sorts and value lists order texts ignoring case exactly as Qt does: every pair of these, both ways.
TEST(ListBoxFilter, FoldedOrderIsQtsCaseIgnoringOrder) {
    const QString loneHigh(QChar(char16_t(0xD801)));
    const QString loneLow(QChar(char16_t(0xDC00)));
    const QStringList texts = {
        QString(), u"a"_s, u"A"_s, u"ab"_s, u"aB "_s, u"site A"_s, u"SITE a"_s, u"@[`{"_s, u"`{@["_s, u"Z"_s,
        u"_"_s, u"\u00C4pfel"_s, u"\u00E4PFEL"_s, u"apfel"_s, u"\u212A"_s, u"k"_s, u"stra\u00DFe"_s,
        u"STRASSE"_s, u"\u0130"_s, u"i"_s, u"\u03A3\u03C2"_s, u"\u03C3\u03C3"_s, u"x\U00010400yz"_s,
        u"X\U00010428YZ"_s, u"x\U00010400"_s, u"\uFF21"_s, u"\uFF41"_s,
        // A high surrogate without its low half before a character above the surrogates, against a pair.
        u"x"_s + loneHigh + u"\uFF21"_s, u"x"_s + loneHigh + u"\uE000"_s, u"x"_s + loneHigh, loneLow + u"a"_s,
        loneHigh + loneLow};
    for (const QString& a : texts)
        for (const QString& b : texts) {
            const int qt = QString::compare(a, b, Qt::CaseInsensitive);
            const int ours = skin::fold::CompareFolded(a, b);
            EXPECT_EQ(ours < 0, qt < 0) << a.toStdString() << " / " << b.toStdString();
            EXPECT_EQ(ours == 0, qt == 0) << a.toStdString() << " / " << b.toStdString();
        }
}

// The prepared filter follows its lists wherever they are changed, without being told.
TEST(ListBoxFilter, ChangedListsAreSeenWithoutPreparingAgain) {
    FilterGrid g(Rows());
    CSkinListBox_Column& groups = g.Column(FilterReport::kGroup);
    groups.filterOn = true;
    groups.values = {u"site b"_s};
    EXPECT_EQ(g.Shown(), (std::vector<int>{2, 5}));
    groups.values[0] = u"site c"_s;
    EXPECT_EQ(g.Shown(), (std::vector<int>{3, 6}));
    groups.values.append(u"a site"_s);
    EXPECT_EQ(g.Shown(), (std::vector<int>{3, 4, 6}));
    const QStringList kept = groups.values;
    groups.filterType = CSkinListBox_Column::kFilterContainedValues;
    groups.values = {u"b"_s};
    EXPECT_EQ(g.Shown(), (std::vector<int>{2}));
    groups.filterType = CSkinListBox_Column::kFilterExactValues;
    groups.values = kept;
    EXPECT_EQ(g.Shown(), (std::vector<int>{3, 4, 6}));
}

// Offering the values of many rows at once gives the list that inserting them one by one would.
TEST(ListBoxSortedStrings, BulkInsertEqualsOneByOne) {
    std::mt19937 rng(7);
    const QStringList words = {u"apple"_s,      u"Apple"_s,      u"APPLE"_s, u"fig"_s, u"Fig"_s,  u"pear"_s,
                               u"\u00C4pfel"_s, u"\u00E4pfel"_s, u"kiwi"_s,  u""_s,    u"Kiwi "_s};
    for (const bool ignoreCase : {false, true}) {
        for (const bool duplicates : {false, true}) {
            QStringList start;
            QStringList texts;
            for (int i = 0; i < 40; ++i) {
                const QString w = words[static_cast<qsizetype>(rng() % words.size())];
                (i < 10 ? start : texts).append(w + QString::number(rng() % 3));
            }
            QStringList single;
            for (const QString& t : start)
                InsertSortedUnique(t, single, ignoreCase, duplicates);
            QStringList bulk = single;
            for (const QString& t : texts)
                InsertSortedUnique(t, single, ignoreCase, duplicates);
            InsertSortedUnique(texts, bulk, ignoreCase, duplicates);
            EXPECT_EQ(bulk, single) << ignoreCase << duplicates;
        }
    }
}
