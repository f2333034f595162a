#include "skin/scroll_geometry.h"
#include "tests/skin/grid_window.h"
#include "tests/skin/pixel_count.h"

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::GridWindow;
using skintest::Record;
using skintest::RecordReport;

namespace {

// Text and rules, not the pale row backgrounds or the marks.
bool Dark(plat::ColorRef c) {
    return plat::RedOf(c) + plat::GreenOf(c) + plat::BlueOf(c) < 330;
}

std::vector<Record> Keywords() {
    return {{1, 1.0f, u"red shoes sale"_s},
            {2, 1.0f, u"blue shoes"_s},
            {3, 1.0f, u"red hat"_s},
            {4, 1.0f, u"cheap red shoes and red shoes"_s}};
}

struct MarkWindow : GridWindow<RecordReport> {
    MarkWindow() : GridWindow(Keywords()) {
        grid.m_sortColumn = RecordReport::kVolume;
        grid.m_columns[RecordReport::kKeyword].highlight = true;
        Refresh();
    }
    // The columns of pixels of row's keyword cell that differ between two paints, relative to the text's
    // first column of ink in before.
    std::vector<int> ChangedColumns(const QImage& before, const QImage& after, int row) const {
        const CSkinListBox_Column& c = grid.m_columns[RecordReport::kKeyword];
        const int top = LineTop(row) + 1;
        const int bottom = LineTop(row) + grid.Pitch();
        int ink = -1;
        for (int x = c.x; x < c.x + c.width && ink < 0; ++x)
            for (int y = top; y < bottom && ink < 0; ++y)
                if (qGray(before.pixel(x, y)) < 110)
                    ink = x;
        std::vector<int> changed;
        for (int x = c.x; x < c.x + c.width; ++x)
            for (int y = top; y < bottom; ++y)
                if (before.pixel(x, y) != after.pixel(x, y)) {
                    changed.push_back(x - ink);
                    break;
                }
        return changed;
    }
    QImage Paint() {
        Refresh();
        return grid.BackBuffer().image().copy();
    }
};

QString RenderPath(const QString& name) {
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    return QStringLiteral(TW_SKIN_RENDER_DIR) + u'/' + name;
}

} // namespace

TEST(ListBoxMarks, HighlightWordsAreMarkedOnlyInCellsHoldingEveryWord) {
    MarkWindow w;
    const QImage plain = w.Paint();
    w.grid.m_highlightWords = {u"RED"_s, u"Shoes"_s}; // compared without case
    const QImage marked = w.Paint();
    ASSERT_TRUE(skin::HostWindow(w.dlg).backBuffer().saveImage(RenderPath(u"grid_highlights.png"_s)));
    const plat::Font& font = w.dlg.m_font;

    // "red shoes sale": both words marked, "sale" left alone.
    const std::vector<int> first = w.ChangedColumns(plain, marked, 0);
    ASSERT_FALSE(first.empty());
    EXPECT_LE(first.front(), 1);
    EXPECT_GE(first.back(), font.textExtent(u"red shoe"_s).cx);
    EXPECT_LE(first.back(), font.textExtent(u"red shoes"_s).cx + 1);
    // Rows missing one of the words show no marks.
    EXPECT_TRUE(w.ChangedColumns(plain, marked, 1).empty());
    EXPECT_TRUE(w.ChangedColumns(plain, marked, 2).empty());
    // Every occurrence is marked: the second "red shoes" too, but not " and ".
    const std::vector<int> last = w.ChangedColumns(plain, marked, 3);
    const int andLeft = font.textExtent(u"cheap red shoes "_s).cx + 1;
    const int andRight = font.textExtent(u"cheap red shoes and"_s).cx - 1;
    EXPECT_TRUE(std::none_of(last.begin(), last.end(), [&](int x) { return x > andLeft && x < andRight; }));
    EXPECT_GE(last.back(), font.textExtent(u"cheap red shoes and red shoe"_s).cx);

    // The mark is a bright warm box behind dark text, plain to see on the pale row.
    const int markX = w.grid.m_columns[RecordReport::kKeyword].x + 5 + font.textExtent(u"red sh"_s).cx;
    const plat::Rect word{markX - 12, w.LineTop(0) + 1, markX + 12, w.LineTop(0) + w.grid.Pitch()};
    const int warm = skintest::CountPixels(w.grid.BackBuffer(), word, [](plat::ColorRef c) {
        return plat::RedOf(c) > 200 && plat::GreenOf(c) > 200 && plat::BlueOf(c) < 120;
    });
    EXPECT_GT(warm, word.width() * word.height() / 3);
    EXPECT_GT(skintest::CountPixels(w.grid.BackBuffer(), word, Dark), 5);

    // A column without the flag marks nothing.
    w.grid.m_columns[RecordReport::kKeyword].highlight = false;
    EXPECT_EQ(w.Paint(), plain);
}

TEST(ListBoxMarks, TheGridsOwnFontResizesColumnsAndLinesAndComesBack) {
    // Too narrow for the columns: each keeps the width the report gave it.
    GridWindow<RecordReport> narrow(Keywords(), 380, 300);
    const auto widths = [&narrow] {
        std::vector<int> out;
        for (const CSkinListBox_Column& c : narrow.grid.m_columns)
            out.push_back(c.width);
        return out;
    };
    const std::vector<int> given = widths();
    const int pitch = narrow.grid.Pitch();
    EXPECT_EQ(given, (std::vector<int>{80, 80, 200}));

    narrow.grid.SetListFont(u"Arial"_s, 24);
    narrow.Refresh();
    const float scale = narrow.grid.FontScale();
    EXPECT_GT(scale, 1.4f);
    EXPECT_LT(scale, 1.8f);
    for (std::size_t i = 0; i < given.size(); ++i)
        EXPECT_NEAR(widths()[i], given[i] * scale, 1.0) << i;
    EXPECT_GT(narrow.grid.Pitch(), pitch + 6);
    // The titles are measured again, in the bold of the new font.
    const CSkinListBox_Column& cpc = narrow.grid.m_columns[RecordReport::kCpc];
    EXPECT_GE(cpc.minWidth, plat::Font(u"Arial"_s, 24, plat::kFontWeightBold).textExtent(cpc.title).cx);
    // The text in the lines is drawn bigger: its ink is taller.
    const auto inkRows = [&narrow] {
        const CSkinListBox_Column& keyword = narrow.grid.m_columns[RecordReport::kKeyword];
        int rows = 0;
        for (int y = narrow.LineTop(0) + 1; y < narrow.LineTop(0) + narrow.grid.Pitch(); ++y)
            rows +=
                skintest::CountPixels(narrow.grid.BackBuffer(),
                                      plat::Rect{keyword.x, y, keyword.x + keyword.width, y + 1}, Dark) > 0;
        return rows;
    };
    const int tallInk = inkRows();

    narrow.grid.SetListFont(u"Arial"_s, 15);
    narrow.Refresh();
    EXPECT_NEAR(narrow.grid.FontScale(), 1.0f, 0.001f);
    EXPECT_EQ(widths(), given);
    EXPECT_LT(inkRows(), tallInk - 2);

    // Room to spare: the columns fill the grid's width with either font.
    GridWindow<RecordReport> wide(Keywords(), 900, 300);
    const auto filledTo = [&wide] {
        const CSkinListBox_Column& last = wide.grid.m_columns.back();
        return last.x + last.width + CSkinListBox::kColumnGap;
    };
    const int inside = wide.grid.m_width - skin::kScrollbarWidth;
    EXPECT_NEAR(filledTo(), inside, 12);
    wide.grid.SetListFont(u"Arial"_s, 20);
    wide.Refresh();
    EXPECT_NEAR(filledTo(), inside, 12);
    EXPECT_TRUE(skin::HostWindow(wide.dlg).backBuffer().saveImage(RenderPath(u"grid_font20.png"_s)));
}

// Where a face is missing, the dialog's fonts and the grid's own fall back to a sans-serif face, whatever the
// system's own fallback is.
TEST(ListBoxMarks, FontsWithoutTheirFaceFallBackToASansSerifOne) {
    GridWindow<RecordReport> w(Keywords(), 380, 300);
    const CSkinDlg_Base& d = w.dlg;
    for (const plat::Font* font :
         {&d.m_font, &d.m_fontBold14, &d.m_fontBold15, &d.m_fontMarkupBold, &d.m_fontBold19, &d.m_fontSup})
        EXPECT_EQ(font->qfont().styleHint(), QFont::SansSerif);
    w.grid.SetListFont(u"No Such Face"_s, 15);
    const plat::Font* cell = w.grid.BackBuffer().font();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->qfont().styleHint(), QFont::SansSerif);
    EXPECT_EQ(QFontInfo(cell->qfont()).family(), QFontInfo(QFont(u"sans-serif"_s)).family());
}
