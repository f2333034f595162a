#include "platform/keys.h"
#include "tests/skin/record_report.h"
#include "tests/skin/skin_test_support.h"

#include <QDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::Record;
using skintest::RecordReport;
using skintest::TestDialog;

namespace {

constexpr plat::ColorRef kKey = 0xFF00FF;

QString RenderPath(const QString& name) {
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    return QStringLiteral(TW_SKIN_RENDER_DIR) + u'/' + name;
}

// The record report with what reaches its report slots recorded.
class ProbeReport : public RecordReport {
  public:
    int CompareItems(int a, int b) override {
        ++compares;
        return RecordReport::CompareItems(a, b);
    }
    void GetItemText(CSkinListBox_Line& line) override {
        RecordReport::GetItemText(line);
        // The keyword of every fifth record is a link.
        if (line.item % 5 == 4) {
            line.cells.back().linkId = 1;
            line.cells.back().kind = CSkinListBox_Item::kLink;
        }
    }
    void OnItemClick(int /*x*/, int /*y*/) override {
        const CSkinListBox_Line* line = HoveredLine();
        clicks.push_back(line ? line->item : -1);
    }
    void OnContextMenu(int x, int y) override { menus.push_back({x, y}); }
    bool OnKey(int vk) override {
        keys.push_back(vk);
        return vk == plat::kKeyDelete;
    }
    void RunFilterDialog(int column, int x, int y, const QString& title) override {
        filterColumn = column;
        filterAt = {x, y};
        filterTitle = title;
        m_columns[static_cast<std::size_t>(column)].filterOn = true;
        m_columns[static_cast<std::size_t>(column)].intMax = 4;
    }

    int compares = 0;
    std::vector<int> clicks;
    std::vector<plat::Point> menus;
    std::vector<int> keys;
    int filterColumn = -1;
    plat::Point filterAt;
    QString filterTitle;
};

// A shown dialog holding one report grid; the test moves, clicks and types through real window events,
// in coordinates relative to the grid.
class GridWindow {
  public:
    explicit GridWindow(std::unique_ptr<CSkinListBox> grid, int width = 900, int height = 600)
        : m_grid(std::move(grid)) {
        dlg.m_width = width;
        dlg.m_height = height;
        dlg.m_keepPosition = true;
        dlg.m_title = u"Tarnwick 2.0 :: Report"_s;
        dlg.build = [this, width, height](TestDialog& d) {
            m_grid->SetupColumns(&d.m_rootHolder, d.m_nextElementId++);
            m_grid->SetPosition(10, 40, width - 20, height - 50, CSkinElement::kShowFlag);
        };
        dlg.Open();
        exposed = QTest::qWaitForWindowExposed(dlg.widget());
        Render();
    }

    QPoint At(int x, int y) const {
        const plat::Point at = m_grid->GetDialogPos();
        return QPoint(at.x + x, at.y + y);
    }
    void Move(int x, int y) { QTest::mouseMove(dlg.widget(), At(x, y)); }
    void Click(int x, int y, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton) {
        Move(x, y);
        QTest::mouseClick(dlg.widget(), button, mods, At(x, y));
        Render();
    }
    void Drag(int x1, int y, int x2) {
        Move(x1, y);
        QTest::mousePress(dlg.widget(), Qt::LeftButton, {}, At(x1, y));
        for (int step = 1; step <= 4; ++step) {
            QTest::mouseMove(dlg.widget(), At(x1 + (x2 - x1) * step / 4, y));
        }
        QTest::mouseRelease(dlg.widget(), Qt::LeftButton, {}, At(x2, y));
        Render();
    }
    void Render() { dlg.redrawNow(); }
    plat::ColorRef Pixel(int x, int y) const { return m_grid->BackBuffer().getPixel(x, y); }
    // y of the middle of the painted line showing row.
    int RowY(int row) const {
        return CSkinListBox::kHeaderHeight - m_grid->m_scrollY + row * m_grid->Pitch() + m_grid->Pitch() / 2;
    }

    TestDialog dlg;
    bool exposed = false;

  protected:
    std::unique_ptr<CSkinListBox> m_grid;
};

template <class Report> class ReportWindow : public GridWindow {
  public:
    explicit ReportWindow(std::vector<Record> records, int width = 900, int height = 600)
        : GridWindow(Make(std::move(records)), width, height), report(static_cast<Report&>(*m_grid)) {}
    Report& report;

  private:
    static std::unique_ptr<CSkinListBox> Make(std::vector<Record> records) {
        auto r = std::make_unique<Report>();
        r->records = std::move(records);
        return r;
    }
};

std::vector<Record> Numbered(int count) {
    std::vector<Record> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // Every seventh amount is missing, so the no-data rows show too.
        const float cpc = i % 7 == 3 ? -1.0f : static_cast<float>((i * 37) % 1000) / 10.0f;
        out.push_back({(i * 7919) % 100000, cpc, u"keyword %1 for the report"_s.arg(i)});
    }
    return out;
}

// One row per cell kind, the kind's cell in a narrow column, so clipping and clamping show.
class CellKindReport : public CSkinListBox {
  public:
    static constexpr int kNameColumn = 0;
    static constexpr int kCellColumn = 1;
    static constexpr int kCellWidth = 90;

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override {
        CSkinListBox::SetupColumns(holder, id);
        CSkinListBox_Column name;
        name.id = kNameColumn;
        name.title = u"Kind"_s;
        name.width = 60;
        CSkinListBox_Column cell;
        cell.id = kCellColumn;
        cell.title = u"Cell"_s;
        cell.width = kCellWidth;
        cell.emphasis = true;
        m_columns = {name, cell};
        m_wholeCellHits = true;
    }
    void UpdateItemCount() override {
        m_itemCount = static_cast<int>(std::size(kTexts));
        CSkinListBox::UpdateItemCount();
    }
    int CompareItems(int a, int b) override { return a - b; }
    void GetItemText(CSkinListBox_Line& line) override {
        const int kind = line.item < 17 ? line.item : CSkinListBox_Item::kBar;
        AddCell(line, QString::number(kind), 0, 0, kNameColumn, 65535);
        AddCell(line, kTexts[line.item], 0, 0, kCellColumn, 65535, kind);
    }

    // Texts by kind; the last rows are bars beyond their total and below zero.
    static inline const QString kTexts[] = {
        u"plain text that is much too long for its column"_s,
        u"small text"_s,
        u"<b>bold</b> and <u>under</u>"_s,
        u"5 A"_s,
        u"3 4"_s,
        u"1 2"_s,
        u"link"_s,
        u"always"_s,
        u"eight"_s,
        u"x"_s,
        u"ten"_s,
        u"icon"_s,
        u"x"_s,
        u"100 90 80 70 60 50 40 30 20 10 0 250"_s,
        u"e1"_s,
        u"e2"_s,
        u"e3"_s,
        u"FF 10"_s,
        u"FFFFFFF0 10"_s,
    };
};

} // namespace

TEST(ListBoxView, TenThousandRowsScrolledToTheMiddle) {
    ReportWindow<ProbeReport> w(Numbered(10'000));
    w.report.m_sortColumn = RecordReport::kVolume;
    w.report.InvalidateContent();
    w.Render();
    const int view = w.report.m_height - CSkinListBox::kHeaderHeight;
    w.report.m_scrollY = w.report.m_contentHeight / 2 - view / 2;
    ++w.report.m_changeCount;
    w.Move(300, CSkinListBox::kHeaderHeight + view / 2);
    w.Render();
    const QString path = RenderPath(u"grid-10k.png"_s);
    ASSERT_TRUE(w.dlg.backBuffer().saveImage(path));
    RecordProperty("png", path.toStdString());

    // Only the lines that fit are built, and they are the rows around the middle, sorted by volume.
    const std::vector<CSkinListBox_Line>& lines = w.report.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), static_cast<std::size_t>(w.report.m_height / w.report.Pitch() + 2));
    EXPECT_NEAR(lines.front().row, 5000 - view / 2 / w.report.Pitch(), 1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_LE(w.report.records[static_cast<std::size_t>(lines[i - 1].item)].volume,
                  w.report.records[static_cast<std::size_t>(lines[i].item)].volume);
    }
    const CSkinListBox_Line* hovered = w.report.HoveredLine();
    ASSERT_NE(hovered, nullptr);
    EXPECT_NEAR(hovered->row, 5000, 1);
    EXPECT_EQ(w.Pixel(w.report.m_columns[2].x + 3, hovered->y + 3), CSkinListBox_Line::kHoverBackground);
}

TEST(ListBoxView, EveryCellKindDrawsInsideItsCellWithoutKeyColour) {
    GridWindow w(std::make_unique<CellKindReport>(), 400, 420);
    w.Render();
    const QString path = RenderPath(u"grid-cell-kinds.png"_s);
    ASSERT_TRUE(w.dlg.backBuffer().saveImage(path));
    RecordProperty("png", path.toStdString());

    const plat::DeviceContext& dc = w.dlg.backBuffer();
    for (int y = 0; y < dc.height(); ++y) {
        for (int x = 0; x < dc.width(); ++x) {
            const plat::ColorRef c = dc.getPixel(x, y);
            ASSERT_FALSE(plat::redOf(c) > 200 && plat::blueOf(c) > 200 && plat::greenOf(c) < 80)
                << "key colour at " << x << "," << y;
        }
    }
    (void)kKey;
}

TEST(ListBoxView, BarsClampTheirFillAndCutTextEndsInsideItsColumn) {
    GridWindow w(std::make_unique<CellKindReport>(), 400, 420);
    const auto& grid = static_cast<const CellKindReport&>(*w.dlg.m_rootHolder.Children()[0].element);
    const plat::DeviceContext& atlas = *w.dlg.m_pAtlasDC;
    const CSkinListBox_Column& column = grid.m_columns[CellKindReport::kCellColumn];
    const int contentLeft = column.x + CSkinListBox::kCellInset;
    const int contentRight = contentLeft + column.width;
    const auto lineY = [&grid](int row) {
        for (const CSkinListBox_Line& line : grid.Lines()) {
            if (line.row == row) {
                return line.y;
            }
        }
        return -1;
    };
    // Bar rows: the bar is 13 px high, centred in the line; sample its middle row.
    const auto barY = [&](int row) { return lineY(row) + 1 + (grid.Pitch() - 1 - 13) / 2 + 6; };
    const plat::ColorRef fill = atlas.getPixel(268 + 2, 144 + 6);
    const plat::ColorRef track = atlas.getPixel(256 + 2, 144 + 6);
    const plat::ColorRef endCap = atlas.getPixel(262 + 2, 144 + 6);
    ASSERT_NE(fill, track);

    // Above its total the fill reaches the right cap and stops there.
    EXPECT_EQ(w.Pixel(contentRight - 6, barY(17)), fill);
    EXPECT_EQ(w.Pixel(contentRight - 3, barY(17)), endCap);
    // Below zero there is no fill, and the label keeps its value.
    EXPECT_EQ(w.Pixel(contentLeft + 6, barY(18)), track);
    // Half of the total fills about half of the track (row 5: a bar without a label).
    EXPECT_EQ(w.Pixel(contentLeft + 5 + (column.width - 10) / 2 - 3, barY(5)), fill);
    EXPECT_EQ(w.Pixel(contentLeft + 5 + (column.width - 10) / 2 + 3, barY(5)), track);

    // The long text of row 0 ends in an ellipsis before the column's end: the gap before the grid line
    // stays the line's background, and the last pixels of the cell hold ink.
    const int y0 = lineY(0);
    bool inkNearEnd = false;
    for (int y = y0 + 2; y < y0 + grid.Pitch() - 1; ++y) {
        for (int x = contentRight - 1; x < column.x + column.width + CSkinListBox::kColumnGap; ++x) {
            const plat::ColorRef c = w.Pixel(x, y);
            EXPECT_GT(plat::greenOf(c), 200) << x << "," << y;
        }
        for (int x = contentRight - 12; x < contentRight - 1; ++x) {
            inkNearEnd = inkNearEnd || plat::greenOf(w.Pixel(x, y)) < 150;
        }
    }
    EXPECT_TRUE(inkNearEnd);
}

TEST(ListBoxView, HoverAndClicksSelectRowsThroughRealMouseEvents) {
    ReportWindow<ProbeReport> w(Numbered(12));
    ASSERT_TRUE(w.exposed);
    std::vector<int> notified;
    w.report.m_selectCommand = u"select"_s;
    w.report.m_owner = [&notified](const QString&, int param, CSkinDlg_Base*) { notified.push_back(param); };
    const auto selected = [&w] {
        std::vector<int> out;
        for (int item = 0; item < 12; ++item) {
            if (w.report.IsSelected(item)) {
                out.push_back(item);
            }
        }
        return out;
    };
    const int x = w.report.m_columns[RecordReport::kVolume].x + 20;

    w.Move(x, w.RowY(2));
    w.Render();
    EXPECT_EQ(w.Pixel(x, w.RowY(2)), CSkinListBox_Line::kHoverBackground);
    EXPECT_EQ(w.Pixel(x, w.RowY(1)), CSkinListBox_Line::kBackground);
    w.Move(x, w.RowY(3));
    w.Render();
    EXPECT_EQ(w.Pixel(x, w.RowY(2)), CSkinListBox_Line::kBackground);

    // Shift with no anchor selects the one row and anchors there.
    w.Click(x, w.RowY(4), Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{4}));
    w.Click(x, w.RowY(6), Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{4, 5, 6}));
    w.Click(x, w.RowY(2));
    EXPECT_EQ(selected(), (std::vector<int>{2}));
    w.Click(x, w.RowY(9), Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int>{2, 9}));
    w.Click(x, w.RowY(7), Qt::ShiftModifier); // the Ctrl-click moved the anchor to row 9
    EXPECT_EQ(selected(), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(w.Pixel(x + 40, w.RowY(8)), RecordReport::kSelectedBackground);
    EXPECT_EQ(w.report.clicks, (std::vector<int>{4, 6, 2, 9, 7}));
    EXPECT_EQ(notified.size(), 5u);

    // A link opens without touching the selection.
    w.Click(w.report.m_columns[RecordReport::kKeyword].x + 20, w.RowY(4));
    EXPECT_EQ(w.report.clicks.back(), 4);
    EXPECT_EQ(selected(), (std::vector<int>{7, 8, 9}));
    EXPECT_EQ(notified.size(), 5u);

    // Below the rows a release clears the selection; the owner hears of it once.
    w.Click(x, w.RowY(20));
    EXPECT_TRUE(selected().empty());
    w.Click(x, w.RowY(21));
    EXPECT_EQ(notified, (std::vector<int>{0, 0, 0, 0, 0, 0}));

    // The context menu hook gets the grid's coordinates.
    w.Click(x, w.RowY(1), {}, Qt::RightButton);
    ASSERT_EQ(w.report.menus.size(), 1u);
    EXPECT_EQ(w.report.menus[0].y, w.RowY(1));
}

TEST(ListBoxView, HeaderSortsTogglesAndOpensTheFilterCallPoint) {
    ReportWindow<ProbeReport> w(Numbered(40));
    const CSkinListBox_Column& volume = w.report.m_columns[RecordReport::kVolume];
    const auto volumes = [&w] {
        std::vector<int> out;
        for (const int item : w.report.Order()) {
            out.push_back(w.report.records[static_cast<std::size_t>(item)].volume);
        }
        return out;
    };
    w.Click(volume.x + 20, 15);
    EXPECT_EQ(w.report.m_sortColumn, RecordReport::kVolume);
    const std::vector<int> ascending = volumes();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    w.Click(volume.x + 20, 15);
    const std::vector<int> descending = volumes();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));
    w.Click(volume.x + 20, 15);
    EXPECT_EQ(w.report.m_sortDirection, 0);

    const int buttonX = volume.x + volume.width;
    w.Click(buttonX, CSkinListBox::kHeaderHeight - 8);
    EXPECT_EQ(w.report.filterColumn, RecordReport::kVolume);
    EXPECT_EQ(w.report.filterTitle, u"<b>Filter</b>: Volume"_s);
    EXPECT_EQ(w.report.filterAt, (plat::Point{volume.x + volume.width + 10, CSkinListBox::kHeaderHeight}));
    EXPECT_EQ(w.report.m_sortDirection, 0); // the filter button does not sort
    // The changed filter applies at once: the volumes 0..4 of the records remain.
    for (const int v : volumes()) {
        EXPECT_LE(v, 4);
    }
    EXPECT_EQ(CSkinListBox::FilterDialogTitle(u"Search Volume (monthly)"_s),
              u"<b>Filter</b>: Search Volume "_s);

    // With sorting switched off the header does nothing.
    w.report.m_sortColumn = CSkinListBox::kSortOff;
    w.Click(w.report.m_columns[RecordReport::kKeyword].x + 20, 15);
    EXPECT_EQ(w.report.m_sortColumn, CSkinListBox::kSortOff);
}

TEST(ListBoxView, ColumnEdgesResizeByDraggingAndStopAtTheTitle) {
    ReportWindow<ProbeReport> w(Numbered(20));
    CSkinListBox_Column& cpc = w.report.m_columns[RecordReport::kCpc];
    const int before = cpc.width;
    const int edge = cpc.x + cpc.width + 4;
    w.Drag(edge, 15, edge + 40);
    EXPECT_EQ(cpc.width, before + 40);
    EXPECT_EQ(w.report.m_sortColumn, CSkinListBox::kNoSort); // a resize is not a header click
    // The next column moved along with the edge.
    EXPECT_EQ(w.report.m_columns[RecordReport::kKeyword].x, cpc.x + cpc.width + CSkinListBox::kColumnGap);

    const int edge2 = cpc.x + cpc.width + 4;
    w.Drag(edge2, 15, edge2 - 600);
    EXPECT_EQ(cpc.width, cpc.minWidth);
    EXPECT_GE(cpc.minWidth, w.dlg.m_fontBold15.textExtent(cpc.title).cx);

    // Passing over an edge and pressing inside the column sorts; it does not resize.
    w.Move(edge2, 15);
    w.Click(cpc.x + 10, 15);
    EXPECT_EQ(w.report.m_sortColumn, RecordReport::kCpc);
    EXPECT_EQ(cpc.width, cpc.minWidth);
}

TEST(ListBoxView, WheelScrollsAndRepaintsWithoutSorting) {
    ReportWindow<ProbeReport> w(Numbered(2000));
    w.report.m_sortColumn = RecordReport::kKeyword;
    w.report.InvalidateContent();
    w.Render();
    const int first = w.report.Lines().front().row;
    w.report.compares = 0;
    w.Move(200, 200);
    for (int notch = 0; notch < 3; ++notch) {
        QWheelEvent wheel(QPointF(w.At(200, 200)), QPointF(w.dlg.widget()->mapToGlobal(w.At(200, 200))),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.dlg.widget(), &wheel);
    }
    w.Render();
    EXPECT_GT(w.report.Lines().front().row, first);
    EXPECT_EQ(w.report.compares, 0);
}

TEST(ListBoxView, TooltipsNameHeadersFilterButtonsAndCutCells) {
    ReportWindow<ProbeReport> w(Numbered(5), 500, 300);
    QString text;
    plat::Rect rect;
    const CSkinListBox_Column& keyword = w.report.m_columns[RecordReport::kKeyword];
    w.Move(keyword.x + 20, 15);
    ASSERT_TRUE(w.report.GetToolTip(text, &rect));
    EXPECT_EQ(text, keyword.tooltip);

    const CSkinListBox_Column& volume = w.report.m_columns[RecordReport::kVolume];
    w.Move(volume.x + volume.width, CSkinListBox::kHeaderHeight - 8);
    ASSERT_TRUE(w.report.GetToolTip(text, &rect));
    EXPECT_EQ(text, u"Filter column values..."_s);

    w.Move(volume.x + 20, w.RowY(1)); // "1,234" fits its column
    EXPECT_FALSE(w.report.GetToolTip(text, &rect));

    w.report.records[2].keyword = QString(u"long words "_s).repeated(30);
    w.report.InvalidateContent();
    w.Render();
    w.Move(keyword.x + 20, w.RowY(2));
    ASSERT_TRUE(w.report.GetToolTip(text, &rect));
    EXPECT_EQ(text, w.report.records[2].keyword);
    EXPECT_EQ(rect.top, w.report.GetDialogPos().y + w.RowY(2) - w.report.Pitch() / 2 + w.report.Pitch());
}

TEST(ListBoxView, KeysReachTheFocusedGridAndCtrlASelectsTheVisibleRows) {
    ReportWindow<ProbeReport> w(Numbered(30));
    w.report.m_columns[RecordReport::kVolume].filterOn = true;
    w.report.m_columns[RecordReport::kVolume].intMax = 50'000;
    w.report.InvalidateContent();
    w.Render();
    w.Click(100, w.RowY(0)); // the grid takes the focus
    ASSERT_EQ(w.dlg.m_pFocus, &w.report);
    QTest::keyClick(w.dlg.widget(), Qt::Key_Delete);
    EXPECT_EQ(w.report.keys, (std::vector<int>{plat::kKeyDelete}));

    int hidden = -1;
    for (int item = 0; item < 30; ++item) {
        if (w.report.records[static_cast<std::size_t>(item)].volume > 50'000) {
            hidden = item;
        }
    }
    ASSERT_GE(hidden, 0);
    w.report.SelectRange(0, -1);
    QTest::keyClick(w.dlg.widget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(w.report.IsAllSelected());
    EXPECT_FALSE(w.report.IsSelected(hidden));
}

TEST(ListBoxView, RowsVanishingUnderThePointerLeaveNoHoverBehind) {
    ReportWindow<ProbeReport> w(Numbered(30));
    w.Move(100, w.RowY(20));
    w.Render();
    ASSERT_NE(w.report.HoveredLine(), nullptr);
    w.report.records.resize(3);
    w.report.InvalidateContent();
    w.Render();
    EXPECT_EQ(w.report.HoveredLine(), nullptr);
    EXPECT_EQ(w.report.Lines().size(), 3u);
    w.report.DrawLine(20);
    w.Click(100, w.RowY(20));
    EXPECT_EQ(w.report.GetSingleSelection(), -1);
    EXPECT_TRUE(w.report.clicks.empty());
}
