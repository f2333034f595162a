#include "tests/skin/grid_window.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::GridWindow;
using skintest::Record;
using skintest::RecordReport;

namespace {

// Ties in the volumes and in the keywords, and one volume with no data: only a chain of keys orders these.
std::vector<Record> Tied() {
    return {{30, 1.0f, u"b"_s}, {10, 2.0f, u"b"_s}, {30, 3.0f, u"a"_s}, {10, 4.0f, u"a"_s},
            {-1, 5.0f, u"a"_s}, {30, 6.0f, u"a"_s}, {10, 7.0f, u"b"_s}};
}

struct SortWindow : GridWindow<RecordReport> {
    SortWindow() : GridWindow(Tied()) {}
    // A click on a column's title, as the user sorts.
    void ClickTitle(int column, Qt::KeyboardModifiers mods = {}) {
        Click(grid.m_columns[static_cast<std::size_t>(column)].x + 20, CSkinListBox::kHeaderHeight / 2, mods);
    }
    // The items of the painted lines, top down.
    std::vector<int> PaintedItems() const {
        std::vector<int> items;
        for (const CSkinListBox_Line& line : grid.Lines())
            items.push_back(line.item);
        return items;
    }
};

} // namespace

TEST(ListBoxSortKeys, CtrlClickKeepsThePreviousColumnDecidingFirstAndAPlainClickStartsAgain) {
    SortWindow w;
    w.grid.m_secondaryKeys = true;
    w.ClickTitle(RecordReport::kVolume);
    w.ClickTitle(RecordReport::kKeyword, Qt::ControlModifier);
    // Volumes ascending (no data last), keywords ascending within each, equal pairs in item order.
    EXPECT_EQ(w.PaintedItems(), (std::vector<int>{3, 1, 6, 2, 5, 0, 4}));
    EXPECT_EQ(w.grid.m_sortColumn, RecordReport::kKeyword);

    w.ClickTitle(RecordReport::kKeyword); // the keywords turn round; the volumes still decide first
    EXPECT_EQ(w.PaintedItems(), (std::vector<int>{1, 6, 3, 0, 2, 5, 4}));
    w.ClickTitle(RecordReport::kVolume); // a plain click on another column: that column alone
    EXPECT_EQ(w.PaintedItems(), (std::vector<int>{1, 3, 6, 0, 2, 5, 4}));
    EXPECT_TRUE(w.grid.m_sortKeys.empty());

    // Three keys: the amounts, then the keywords turned round, then the volumes.
    w.grid.records[3].cpc = w.grid.records[0].cpc = w.grid.records[6].cpc = 9.0f;
    w.ClickTitle(RecordReport::kCpc);
    w.ClickTitle(RecordReport::kCpc);
    w.ClickTitle(RecordReport::kKeyword, Qt::ControlModifier);
    w.ClickTitle(RecordReport::kKeyword);
    w.ClickTitle(RecordReport::kVolume, Qt::ControlModifier);
    EXPECT_EQ(w.PaintedItems(), (std::vector<int>{6, 0, 3, 5, 4, 2, 1}));
}

TEST(ListBoxSortKeys, WithoutSecondaryKeysCtrlClickSortsByTheClickedColumnAlone) {
    SortWindow w;
    w.ClickTitle(RecordReport::kVolume);
    w.ClickTitle(RecordReport::kKeyword, Qt::ControlModifier);
    EXPECT_EQ(w.PaintedItems(), (std::vector<int>{2, 3, 4, 5, 0, 1, 6}));
    EXPECT_TRUE(w.grid.m_sortKeys.empty());
}
