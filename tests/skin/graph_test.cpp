#include "core/packed_minutes.h"
#include "skin/skin_graph.h"
#include "tests/skin/pixel_count.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/window_events.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

namespace {

constexpr int kDay = 1440;
constexpr plat::ColorRef kSeriesA = plat::Rgb(200, 30, 40);
constexpr plat::ColorRef kSeriesB = plat::Rgb(20, 150, 60);

QString RenderPath(const QString& name) {
    QDir().mkpath(QStringLiteral(TW_SKIN_RENDER_DIR));
    return QStringLiteral(TW_SKIN_RENDER_DIR) + u'/' + name;
}

// The graph as the user sees it in the dialog's back buffer, cut to the graph's own rectangle.
struct Shot {
    explicit Shot(TestDialog& dlg, const CSkinGraph& graph) : dc(graph.m_width, graph.m_height) {
        dlg.RenderAll(skin::HostWindow(dlg).backBuffer());
        const plat::Point at = graph.GetDialogPos();
        dc.bitBlt(0, 0, graph.m_width, graph.m_height, skin::HostWindow(dlg).backBuffer(), at.x, at.y);
    }
    int Count(const plat::Rect& r, plat::ColorRef colour) const {
        return skintest::CountPixels(
            dc, r, [colour](plat::ColorRef c) { return c == colour; });
    }
    int Ink(const plat::Rect& r) const {
        return skintest::CountPixels(
            dc, r, [](plat::ColorRef c) { return !skintest::NearWhite(c); });
    }
    plat::DeviceContext dc;
};

int Day(int year, int month, int day) {
    return PackMinutes(year, month, day, 0, 0);
}

} // namespace

// Without points the range is the 20 days up to the end of today and values 0-10; with points it runs from
// the earliest to the latest point of every series, the values widened to a span of at least 10.
TEST(SkinGraph, RangesFollowThePointsOrEndWithToday) {
    CSkinGraph graph;
    const int before = NowAsMinutes();
    graph.UpdateRange();
    const int after = NowAsMinutes();
    EXPECT_EQ(graph.m_timeEnd % kDay, 0);
    EXPECT_GT(graph.m_timeEnd, before);
    EXPECT_LE(graph.m_timeEnd, after + kDay);
    EXPECT_EQ(graph.m_timeEnd - graph.m_timeStart, 20 * kDay);
    EXPECT_EQ(graph.m_valueMax - graph.m_valueMin, 10.0);

    const int a = graph.AddSeries(kSeriesA);
    const int b = graph.AddSeries(kSeriesB);
    graph.AddPoint(a, Day(2009, 8, 20), 4.0f);
    graph.AddPoint(b, Day(2009, 8, 3) + 75, 6.5f);
    graph.AddPoint(a, Day(2009, 8, 25), 3.0f);
    graph.AddPoint(7, Day(2001, 1, 1), 900.0f);
    EXPECT_EQ(graph.m_timeStart, Day(2009, 8, 3) + 75);
    EXPECT_EQ(graph.m_timeEnd, Day(2009, 8, 25));
    EXPECT_EQ(graph.m_valueMin, 3.0);
    EXPECT_EQ(graph.m_valueMax, 13.0);
    EXPECT_EQ(graph.m_series[size_t(a)].points.front().value, 4.0f) << "kept in time order";
    EXPECT_EQ(graph.m_series[size_t(a)].marker, 5);

    graph.AddPoint(b, Day(2009, 9, 1), -20.0f);
    graph.AddPoint(b, Day(2009, 9, 2), 80.0f);
    EXPECT_EQ(graph.m_valueMin, -20.0);
    EXPECT_EQ(graph.m_valueMax, 80.0);
    graph.ClearSeries();
    EXPECT_EQ(graph.m_timeEnd - graph.m_timeStart, 20 * kDay);
}

// The mode icon switches days and values, carrying the length over (7-10, 14-25, 30-50, 60-75, 90-100); the
// five length icons pick a length of the current mode. The band's label says which, as drawn by the graph.
TEST(SkinGraph, ToolbarClicksSwitchModesAndLengths) {
    TestDialog dlg;
    CSkinGraph graph;
    dlg.build = [&](TestDialog& d) {
        graph.Create(&d.m_rootHolder, d.m_nextElementId++);
        graph.SetPosition(10, 40, 560, 320, 0);
    };
    dlg.Open();
    auto clickIcon = [&](int i) {
        const plat::Rect r = graph.IconRect(i);
        skintest::ClickAt(dlg, skintest::At(graph, r.left + r.width() / 2, r.top + r.height() / 2));
    };
    const int days[] = {7, 14, 30, 60, 90};
    const int values[] = {10, 25, 50, 75, 100};
    for (int i = 0; i < 5; ++i) {
        clickIcon(i + 1);
        EXPECT_EQ(graph.m_rangeLength, days[i]);
        EXPECT_EQ(graph.RangeLabel(), u"%1 days"_s.arg(days[i]));
        clickIcon(0);
        EXPECT_EQ(graph.m_mode, CSkinGraph::kValues);
        EXPECT_EQ(graph.m_rangeLength, values[i]);
        EXPECT_EQ(graph.RangeLabel(), u"%1 values"_s.arg(values[i]));
        clickIcon(0);
        EXPECT_EQ(graph.m_mode, CSkinGraph::kDays);
        EXPECT_EQ(graph.m_rangeLength, days[i]);
    }
    EXPECT_FALSE(graph.SetRangeLength(25)) << "a values length in days mode";
    EXPECT_EQ(graph.m_rangeLength, 90);

    // The chosen length's icon is framed: the frame moves with the choice.
    const plat::Rect shortIcon = graph.IconRect(1).inflated(2, 2);
    const plat::Rect longIcon = graph.IconRect(5).inflated(2, 2);
    auto framed = [&](const Shot& shot, const plat::Rect& r) {
        return shot.Ink(plat::Rect{r.left, r.top, r.right, r.top + 1}) == r.width();
    };
    const Shot atNinety(dlg, graph);
    EXPECT_TRUE(framed(atNinety, longIcon));
    EXPECT_FALSE(framed(atNinety, shortIcon));
    clickIcon(1);
    const Shot atSeven(dlg, graph);
    EXPECT_TRUE(framed(atSeven, shortIcon));
    EXPECT_FALSE(framed(atSeven, longIcon));
}

// Two series draw as lines in their colours inside the plot, with dates standing under it and the title in
// the band; the values mode draws the last values of each series across the plot.
TEST(SkinGraph, DrawsItsSeriesAsLinesWithDatesUnderThePlot) {
    TestDialog dlg;
    CSkinGraph graph;
    dlg.build = [&](TestDialog& d) {
        graph.Create(&d.m_rootHolder, d.m_nextElementId++);
        graph.SetPosition(10, 40, 560, 320, 0);
    };
    dlg.Open();
    const int a = graph.AddSeries(kSeriesA);
    const int b = graph.AddSeries(kSeriesB);
    for (int day = 1; day <= 20; ++day) {
        graph.AddPoint(a, Day(2009, 8, day), float(day * 3));
        graph.AddPoint(b, Day(2009, 8, day) + 600, float(60 - day * 2));
    }
    graph.SetTitle(u"Positions of red shoes"_s);
    const plat::Rect plot = graph.PlotRect();
    ASSERT_FALSE(plot.isEmpty());
    const Shot days(dlg, graph);
    ASSERT_TRUE(days.dc.saveImage(RenderPath(u"graph_days.png"_s)));
    // A line across 20 days is far more than its 20 point marks of 5 x 5.
    EXPECT_GT(days.Count(plot, kSeriesA), 20 * 25 + plot.width() / 2);
    EXPECT_GT(days.Count(plot, kSeriesB), 20 * 25 + plot.width() / 2);
    EXPECT_EQ(days.Count(plat::Rect{0, 0, graph.m_width, plot.top}, kSeriesA), 0) << "clipped to the plot";
    // The rising series starts low on the left and ends high on the right.
    auto rowsOf = [&](const Shot& shot, plat::ColorRef colour, int left, int right) {
        int top = plot.bottom, bottom = plot.top;
        for (int y = plot.top; y < plot.bottom; ++y)
            for (int x = left; x < right; ++x)
                if (shot.dc.getPixel(x, y) == colour) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return std::pair{top, bottom};
    };
    EXPECT_GT(rowsOf(days, kSeriesA, plot.left, plot.left + 20).first,
              rowsOf(days, kSeriesA, plot.right - 20, plot.right).second);

    // Dates: turned text under the plot, its ink taller than a line of flat text.
    const plat::Rect under{plot.left - 10, plot.bottom + 1, plot.right + 10, graph.m_height};
    int inkTop = graph.m_height, inkBottom = 0;
    for (int y = under.top; y < under.bottom; ++y)
        for (int x = under.left; x < under.right; ++x)
            if (!skintest::NearWhite(days.dc.getPixel(x, y))) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
    EXPECT_GT(inkBottom - inkTop, graph.m_flatFont.height() + 8);
    EXPECT_GT(graph.m_verticalFont.textExtent(CSkinGraph::DateLabel(Day(2009, 8, 25))).cx,
              graph.m_flatFont.height());
    const plat::Rect band{graph.IconRect(6).left, 0, graph.m_width, CSkinGraph::kBandHeight - 1};
    const int bandInkWithTitle = days.Ink(band);
    graph.SetTitle(QString());
    EXPECT_GT(bandInkWithTitle, Shot(dlg, graph).Ink(band) + 50);

    graph.SetRangeMode(CSkinGraph::kValues);
    graph.SetRangeLength(10);
    const Shot values(dlg, graph);
    ASSERT_TRUE(values.dc.saveImage(RenderPath(u"graph_values.png"_s)));
    // The last ten values span the whole plot: the line reaches both ends.
    EXPECT_GT(values.Count(plat::Rect{plot.left, plot.top, plot.left + 6, plot.bottom}, kSeriesA), 0);
    EXPECT_GT(values.Count(plat::Rect{plot.right - 6, plot.top, plot.right, plot.bottom}, kSeriesA), 0);
    EXPECT_LT(values.Count(plot, kSeriesA), days.Count(plot, kSeriesA)) << "ten points, not twenty";
}

// A graph too small for its plot says so instead of drawing a crushed one; grown, it draws its series.
TEST(SkinGraph, TooSmallAnAreaSaysSo) {
    TestDialog dlg;
    CSkinGraph graph;
    dlg.build = [&](TestDialog& d) {
        graph.Create(&d.m_rootHolder, d.m_nextElementId++);
        graph.SetPosition(10, 40, 90, 150, 0);
    };
    dlg.Open();
    const int a = graph.AddSeries(kSeriesA);
    graph.AddPoint(a, Day(2010, 1, 1), 1.0f);
    graph.AddPoint(a, Day(2010, 1, 9), 9.0f);
    EXPECT_TRUE(graph.PlotRect().isEmpty());
    const Shot small(dlg, graph);
    ASSERT_TRUE(small.dc.saveImage(RenderPath(u"graph_too_small.png"_s)));
    const plat::Rect body{0, CSkinGraph::kBandHeight, graph.m_width, graph.m_height};
    EXPECT_EQ(small.Count(body, kSeriesA), 0);
    // The message, word-wrapped to the narrow graph: its ink spans several lines.
    int inkTop = graph.m_height, inkBottom = 0;
    for (int y = body.top; y < body.bottom; ++y) {
        if (small.Ink(plat::Rect{0, y, graph.m_width, y + 1}) > 0) {
            inkTop = std::min(inkTop, y);
            inkBottom = std::max(inkBottom, y);
        }
    }
    EXPECT_GT(inkBottom - inkTop, 2 * graph.m_flatFont.height());

    graph.SetPosition(-1, -1, 400, 300, 0);
    const Shot grown(dlg, graph);
    EXPECT_GT(grown.Count(graph.PlotRect(), kSeriesA), 100);
}
