#include "platform/keys.h"
#include "tests/skin/grid_window.h"
#include "tests/skin/record_report.h"
#include "tests/support/skin_test_support.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::GridWindow;
using skintest::Record;
using skintest::RecordReport;
using skintest::TestDialog;

namespace {

// The record report with what reaches its report slots recorded; every fifth keyword is a link.
class ProbeReport : public RecordReport {
  public:
    int CompareItems(int a, int b) override {
        ++compares;
        return RecordReport::CompareItems(a, b);
    }
    bool GetSortKey(int item, CSkinListBox_SortKey& key) override {
        ++compares;
        return RecordReport::GetSortKey(item, key);
    }
    void GetItemText(CSkinListBox_Line& line) override {
        RecordReport::GetItemText(line);
        if (line.item % 5 == 4) {
            line.cells.back().linkId = 1;
            line.cells.back().kind = CSkinListBox_Item::kLink;
        }
    }
    void OnItemClick(int, int) override { clicks.push_back(HoveredLine() ? HoveredLine()->item : -1); }
    void OnContextMenu(int x, int y) override { menus.push_back({x, y}); }
    bool OnKey(int vk) override {
        keys.push_back(vk);
        return true;
    }
    void RunFilterDialog(int column, int x, int y, const QString& title) override {
        filterAt = {x, y};
        filterTitle = title;
        m_columns[static_cast<std::size_t>(column)].filterOn = true;
        m_columns[static_cast<std::size_t>(column)].intMax = 4;
    }

    int compares = 0;
    std::vector<int> clicks;
    std::vector<plat::Point> menus;
    std::vector<int> keys;
    plat::Point filterAt;
    QString filterTitle;
};

// One row per cell kind in a narrow column, so clipping and clamping show; the last two rows hold bars
// beyond their total and below zero.
class CellKindReport : public CSkinListBox {
  public:
    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        CSkinListBox::SetupColumns(holder, id);
        m_columns.resize(2);
        m_columns[0].title = u"Kind"_s;
        m_columns[0].width = 60;
        m_columns[1].id = 1;
        m_columns[1].title = u"Cell"_s;
        m_columns[1].width = 90;
        m_columns[1].emphasis = true;
    }
    void UpdateItemCount() override {
        m_itemCount = static_cast<int>(kTexts.size());
        CSkinListBox::UpdateItemCount();
    }
    int CompareItems(int a, int b) override { return a - b; }
    void GetItemText(CSkinListBox_Line& line) override {
        const int kind = line.item < 17 ? line.item : CSkinListBox_Item::kBar;
        AddCell(line, QString::number(kind), 0, 0, 0, 65535);
        AddCell(line, kTexts[static_cast<std::size_t>(line.item)], 0, 0, 1, 65535, kind);
    }
    const QStringList kTexts = QStringLiteral("plain text that is much too long for its column|small|"
                                              "<b>bold</b> and <u>under</u>|5 A|3 4|1 2|link|always|eight|x|"
                                              "ten|icon|x|100 90 80 70 60 50 40 30 20 10 0 250|e1|e2|e3|"
                                              "FF 10|FFFFFFF0 10")
                                   .split(u'|');
};

std::vector<Record> Numbered(int count) {
    std::vector<Record> out;
    for (int i = 0; i < count; ++i) {
        // Every seventh amount is missing, so the no-data rows show too.
        const float cpc = i % 7 == 3 ? -1.0f : static_cast<float>((i * 37) % 1000) / 10.0f;
        out.push_back({(i * 7919) % 100000, cpc, u"keyword %1 for the report"_s.arg(i)});
    }
    return out;
}

} // namespace

TEST(ListBoxView, TenThousandRowsScrolledToTheMiddleAndWheeledOnWithoutSorting) {
    GridWindow<ProbeReport> w(Numbered(10'000));
    w.grid.m_sortColumn = RecordReport::kVolume;
    w.Refresh();
    const int view = w.grid.m_height - CSkinListBox::kHeaderHeight;
    w.grid.m_scrollY = w.grid.m_contentHeight / 2 - view / 2;
    ++w.grid.m_changeCount;
    w.Move(300, CSkinListBox::kHeaderHeight + view / 2);

    // Only the lines that fit are built: the rows around the middle, in volume order, the middle one hovered.
    const std::vector<CSkinListBox_Line>& lines = w.grid.Lines();
    EXPECT_LE(lines.size(), static_cast<std::size_t>(view / w.grid.Pitch() + 2));
    EXPECT_NEAR(lines.front().row, 5000 - view / 2 / w.grid.Pitch(), 1);
    EXPECT_LE(w.grid.records[static_cast<std::size_t>(lines.front().item)].volume,
              w.grid.records[static_cast<std::size_t>(lines.back().item)].volume);
    ASSERT_NE(w.grid.HoveredLine(), nullptr);
    EXPECT_NEAR(w.grid.HoveredLine()->row, 5000, 1);
    EXPECT_EQ(w.Pixel(w.grid.m_columns[2].x + 3, w.grid.HoveredLine()->y + 3),
              CSkinListBox_Line::kHoverBackground);

    w.grid.compares = 0;
    const int first = lines.front().row;
    for (int notch = 0; notch < 3; ++notch) {
        const QPoint at = w.At(300, 300);
        QWheelEvent wheel(at, w.dlg.widget()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.dlg.widget(), &wheel);
    }
    w.dlg.RedrawNow();
    EXPECT_GT(w.grid.Lines().front().row, first);
    EXPECT_EQ(w.grid.compares, 0);
}

TEST(ListBoxView, EveryCellKindStaysInItsCellWithoutKeyColour) {
    GridWindow<CellKindReport> w({}, 400, 420);
    const plat::DeviceContext& dc = skin::HostWindow(w.dlg).backBuffer();
    for (int y = 0; y < dc.height(); ++y) {
        for (int x = 0; x < dc.width(); ++x) {
            const plat::ColorRef c = dc.getPixel(x, y);
            ASSERT_FALSE(plat::RedOf(c) > 200 && plat::BlueOf(c) > 200 && plat::GreenOf(c) < 80)
                << "key colour at " << x << "," << y;
        }
    }

    const CSkinListBox_Column& column = w.grid.m_columns[1];
    const int left = column.x + CSkinListBox::kCellInset;
    const int right = left + column.width;
    // The long text of row 0 ends in an ellipsis inside its column: the gap before the grid line stays the
    // line's background, and the last pixels of the cell hold ink.
    bool inkNearEnd = false;
    for (int y = w.LineTop(0) + 2; y < w.LineTop(0) + w.grid.Pitch() - 1; ++y) {
        for (int x = right - 1; x < column.x + column.width + CSkinListBox::kColumnGap; ++x)
            EXPECT_GT(plat::GreenOf(w.Pixel(x, y)), 200) << x << "," << y;
        for (int x = right - 12; x < right - 1; ++x)
            inkNearEnd = inkNearEnd || plat::GreenOf(w.Pixel(x, y)) < 150;
    }
    EXPECT_TRUE(inkNearEnd);
}

TEST(ListBoxView, HoverAndClicksSelectRowsThroughRealMouseEvents) {
    GridWindow<ProbeReport> w(Numbered(12));
    std::vector<int> notified;
    w.grid.m_selectCommand = u"select"_s;
    w.grid.m_owner = [&notified](const QString&, int param, CSkinDlg_Base*) { notified.push_back(param); };
    const auto selected = [&w] {
        std::vector<int> out;
        for (int item = 0; item < 12; ++item)
            if (w.grid.IsSelected(item))
                out.push_back(item);
        return out;
    };
    const int x = w.grid.m_columns[RecordReport::kVolume].x + 20;
    w.Move(x, w.RowY(2));
    EXPECT_EQ(w.Pixel(x, w.RowY(2)), CSkinListBox_Line::kHoverBackground);
    w.Move(x, w.RowY(3));
    EXPECT_EQ(w.Pixel(x, w.RowY(2)), CSkinListBox_Line::kBackground);

    w.Click(x, w.RowY(4), Qt::ShiftModifier); // Shift with no anchor selects one row and anchors there
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    w.Click(x, w.RowY(6), Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{4, 5, 6}));
    w.Click(x, w.RowY(2));
    w.Click(x, w.RowY(9), Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int>{2, 9}));
    w.Click(x, w.RowY(7), Qt::ShiftModifier); // the Ctrl-click moved the anchor to row 9
    EXPECT_EQ(selected(), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(w.Pixel(x + 40, w.RowY(8)), RecordReport::kSelectedBackground);
    EXPECT_EQ(w.grid.clicks, (std::vector<int>{4, 6, 2, 9, 7}));

    w.Click(w.grid.m_columns[RecordReport::kKeyword].x + 20, w.RowY(4)); // a link leaves the selection alone
    EXPECT_EQ(w.grid.clicks.back(), 4);
    EXPECT_EQ(selected(), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(notified.size(), 5u);
    w.Click(x, w.RowY(20)); // below the rows a release clears the selection, and the owner hears it once
    w.Click(x, w.RowY(21));
    EXPECT_TRUE(selected().empty());
    EXPECT_EQ(notified, (std::vector<int>{0, 0, 0, 0, 0, 0}));

    w.Click(x, w.RowY(1), {}, Qt::RightButton);
    ASSERT_EQ(w.grid.menus.size(), 1u);
    EXPECT_EQ(w.grid.menus[0].y, w.RowY(1));

    // Rows vanishing under the pointer leave no hover behind.
    w.Move(x, w.RowY(10));
    w.grid.records.resize(3);
    w.Refresh();
    EXPECT_EQ(w.grid.HoveredLine(), nullptr);
    w.grid.DrawLine(10);
    w.Click(x, w.RowY(10));
    EXPECT_EQ(w.grid.clicks.size(), 6u);
}

TEST(ListBoxView, HeaderSortsTogglesAndOpensTheFilterCallPoint) {
    GridWindow<ProbeReport> w(Numbered(40));
    const CSkinListBox_Column& volume = w.grid.m_columns[RecordReport::kVolume];
    const auto volumes = [&w] {
        std::vector<int> out;
        for (const int item : w.grid.Order())
            out.push_back(w.grid.records[static_cast<std::size_t>(item)].volume);
        return out;
    };
    w.Click(volume.x + 20, 15);
    const std::vector<int> ascending = volumes();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    w.Click(volume.x + 20, 15);
    const std::vector<int> descending = volumes();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));

    w.Click(volume.x + volume.width, CSkinListBox::kHeaderHeight - 8);
    EXPECT_EQ(w.grid.filterTitle, u"<b>Filter</b>: Volume"_s);
    EXPECT_EQ(w.grid.filterAt, (plat::Point{volume.x + volume.width + 10, CSkinListBox::kHeaderHeight}));
    EXPECT_EQ(w.grid.m_sortDirection, 1); // the filter button does not sort, and its filter applies at once
    EXPECT_LE(volumes().front(), 4);

    w.grid.m_sortColumn = CSkinListBox::kSortOff;
    w.Click(w.grid.m_columns[RecordReport::kKeyword].x + 20, 15);
    EXPECT_EQ(w.grid.m_sortColumn, CSkinListBox::kSortOff);
}

TEST(ListBoxView, ColumnEdgesResizeByDraggingAndStopAtTheTitle) {
    GridWindow<ProbeReport> w(Numbered(20));
    CSkinListBox_Column& cpc = w.grid.m_columns[RecordReport::kCpc];
    const int before = cpc.width;
    const int edge = cpc.x + cpc.width + 4;
    w.Drag(edge, 15, edge + 40);
    EXPECT_EQ(cpc.width, before + 40);
    EXPECT_EQ(w.grid.m_sortColumn, CSkinListBox::kNoSort); // a resize is not a header click
    EXPECT_EQ(w.grid.m_columns[RecordReport::kKeyword].x, cpc.x + cpc.width + CSkinListBox::kColumnGap);
    const int edge2 = cpc.x + cpc.width + 4;
    w.Drag(edge2, 15, edge2 - 600);
    EXPECT_EQ(cpc.width, cpc.minWidth);
    EXPECT_GE(cpc.minWidth, w.dlg.m_fontBold15.textExtent(cpc.title).cx);

    // Passing over an edge and then pressing inside the column sorts; it does not resize.
    w.Move(edge2, 15);
    w.Click(cpc.x + 10, 15);
    EXPECT_EQ(w.grid.m_sortColumn, RecordReport::kCpc);
    EXPECT_EQ(cpc.width, cpc.minWidth);
}

TEST(ListBoxView, TooltipsShowOnlyCutCells) {
    GridWindow<ProbeReport> w(Numbered(5), 500, 300);
    QString text;
    plat::Rect rect;
    const CSkinListBox_Column& keyword = w.grid.m_columns[RecordReport::kKeyword];
    const CSkinListBox_Column& volume = w.grid.m_columns[RecordReport::kVolume];
    w.Move(volume.x + 20, w.RowY(1)); // fits its column
    EXPECT_FALSE(w.grid.GetToolTip(text, &rect));

    w.grid.records[2].keyword = u"long words "_s.repeated(30);
    w.Refresh();
    w.Move(keyword.x + 20, w.RowY(2));
    ASSERT_TRUE(w.grid.GetToolTip(text, &rect));
    EXPECT_EQ(text, w.grid.records[2].keyword);
    EXPECT_EQ(rect.top, w.grid.GetDialogPos().y + w.LineTop(3)); // under the cell
}

TEST(ListBoxView, KeysReachTheFocusedGridAndCtrlASelectsTheVisibleRows) {
    GridWindow<ProbeReport> w(Numbered(30));
    w.grid.m_columns[RecordReport::kVolume].filterOn = true;
    w.grid.m_columns[RecordReport::kVolume].intMax = 50'000;
    w.Refresh();
    w.Click(100, w.RowY(0)); // the grid takes the focus
    ASSERT_EQ(w.dlg.m_pFocus, &w.grid);
    QTest::keyClick(w.dlg.widget(), Qt::Key_Delete);
    EXPECT_EQ(w.grid.keys, (std::vector<int>{plat::kKeyDelete}));

    w.grid.SelectRange(0, -1);
    QTest::keyClick(w.dlg.widget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(w.grid.IsAllSelected());
    for (int item = 0; item < 30; ++item)
        EXPECT_EQ(w.grid.IsSelected(item), w.grid.records[static_cast<std::size_t>(item)].volume <= 50'000);
}

// A shown dialog with a grid of five records that the test may delete.
struct DeletableGrid {
    DeletableGrid() {
        grid->records = Numbered(5);
        dlg.m_keepPosition = true;
        dlg.build = [this](TestDialog& d) {
            grid->SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
            grid->SetPosition(10, 40, 500, 300, CSkinElement::kShowFlag);
        };
        dlg.Open();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.widget()));
        dlg.RedrawNow();
    }
    TestDialog dlg;
    std::unique_ptr<ProbeReport> grid = std::make_unique<ProbeReport>();
};

TEST(ListBoxView, AnOwnerThatRemovesTheGridOnASelectionChangeEndsTheClickThere) {
    DeletableGrid d;
    TestDialog& dlg = d.dlg;
    std::unique_ptr<ProbeReport>& grid = d.grid;
    grid->m_selectCommand = u"select"_s;
    grid->m_owner = [&grid](const QString&, int, CSkinDlg_Base*) { grid.reset(); };
    const QPoint row(10 + 100, 40 + CSkinListBox::kHeaderHeight + grid->Pitch() / 2);
    QTest::mouseMove(dlg.widget(), row);
    QTest::mouseClick(dlg.widget(), Qt::LeftButton, {}, row);
    EXPECT_EQ(grid, nullptr);
    dlg.RedrawNow();
}

// Tells whether the owner hears of a selection change while the grid paints.
class PaintProbeReport : public ProbeReport {
  public:
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override {
        painting = true;
        ProbeReport::Draw(dc, x, y, full);
        painting = false;
    }
    bool painting = false;
};

TEST(ListBoxView, ARebuildWhilePaintingTellsTheOwnerAfterThePaintAndNeverADeadGrid) {
    GridWindow<PaintProbeReport> w(Numbered(5));
    std::vector<bool> heardWhilePainting;
    w.grid.m_selectCommand = u"select"_s;
    w.grid.m_owner = [&](const QString&, int, CSkinDlg_Base*) {
        heardWhilePainting.push_back(w.grid.painting);
    };
    w.grid.records = Numbered(8); // the rebuild at the next paint resizes the selection
    w.Refresh();
    w.grid.records = Numbered(9);
    w.Refresh();
    EXPECT_TRUE(heardWhilePainting.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(heardWhilePainting, (std::vector<bool>{false})); // one notice for both rebuilds

    DeletableGrid d;
    std::unique_ptr<ProbeReport>& grid = d.grid;
    int heard = 0;
    grid->m_selectCommand = u"select"_s;
    grid->m_owner = [&heard](const QString&, int, CSkinDlg_Base*) { ++heard; };
    grid->records = Numbered(6);
    grid->InvalidateContent();
    d.dlg.RedrawNow();
    EXPECT_EQ(grid->VisibleCount(), 6); // rebuilt while painting: a notice is on its way
    grid.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 0);
}
