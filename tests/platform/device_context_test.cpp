#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/pixel_runs.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;
using plat::ColorRef;
using plat::DeviceContext;
using plat::Rect;
using plat::Rgb;

namespace {

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kKey = Rgb(255, 0, 255);

int CountPixels(const DeviceContext& dc, ColorRef color, Rect area = {}) {
    if (area.isEmpty())
        area = Rect{0, 0, dc.width(), dc.height()};
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += dc.getPixel(x, y) == color;
    return n;
}

// The bounding box of pixels that differ from the background.
Rect InkBox(const DeviceContext& dc, ColorRef background) {
    Rect box;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            if (dc.getPixel(x, y) != background)
                box = box.united(Rect{x, y, x + 1, y + 1});
    return box;
}

} // namespace

TEST(DeviceContextSurface, EmptySizesAndUnreadableImagesAreRefusedHarmlessly) {
    DeviceContext dc;
    EXPECT_FALSE(dc.create(0, 10));
    dc.fillSolidRect(Rect{0, 0, 5, 5}, kRed);
    EXPECT_EQ(dc.getPixel(0, 0), plat::kInvalidColor);
    EXPECT_FALSE(dc.loadImage(u"/no/such/atlas.png"_s));
    ASSERT_TRUE(dc.create(5, 3));
    EXPECT_EQ(dc.pixelArgb(4, 2), 0u);
    EXPECT_EQ(dc.getPixel(5, 0), plat::kInvalidColor);
}

TEST(DeviceContextFill, RectanglesFramesAndLinesLeaveOutRightBottomAndEndPoint) {
    DeviceContext dc(12, 12);
    dc.fillSolidRect(Rect{2, 3, 5, 7}, kRed);
    EXPECT_EQ(CountPixels(dc, kRed), 3 * 4);
    dc.frameRect(Rect{1, 1, 6, 5}, kGreen);
    EXPECT_EQ(CountPixels(dc, kGreen), 2 * 5 + 2 * 2);
    struct Case {
        plat::Point from, to, lastIn;
        int pixels;
    };
    for (const Case& c : {Case{{2, 5}, {8, 5}, {7, 5}, 6}, Case{{8, 9}, {3, 9}, {4, 9}, 5},
                          Case{{0, 0}, {0, 4}, {0, 3}, 4}, Case{{0, 11}, {4, 7}, {3, 8}, 4}}) {
        DeviceContext line(12, 12);
        line.setPen(kRed);
        line.moveTo(c.from.x, c.from.y);
        line.lineTo(c.to.x, c.to.y);
        EXPECT_EQ(CountPixels(line, kRed), c.pixels) << c.to.x << "," << c.to.y;
        EXPECT_EQ(line.getPixel(c.lastIn.x, c.lastIn.y), kRed);
        EXPECT_NE(line.getPixel(c.to.x, c.to.y), kRed);
    }
}

// The colour of a pixel by definition: its centre's barycentric weights in floating point, each channel
// rounded half away from zero; a pixel on an edge belongs to the triangle only on a top or left edge.
std::uint32_t ShadedByDefinition(const plat::GradientVertex& a, const plat::GradientVertex& b,
                                 const plat::GradientVertex& c, int x, int y) {
    const auto edge = [&](const plat::GradientVertex& p, const plat::GradientVertex& q) {
        return (2LL * q.x - 2LL * p.x) * (2LL * y + 1 - 2LL * p.y) -
               (2LL * q.y - 2LL * p.y) * (2LL * x + 1 - 2LL * p.x);
    };
    const long long area = (long long)(b.x - a.x) * (c.y - a.y) - (long long)(b.y - a.y) * (c.x - a.x);
    const int sign = area > 0 ? 1 : -1;
    const auto owns = [&](const plat::GradientVertex& p, const plat::GradientVertex& q, long long w) {
        const int ex = (q.x - p.x) * sign, ey = (q.y - p.y) * sign;
        return w * sign > 0 || (w == 0 && ((ey == 0 && ex < 0) || ey > 0));
    };
    const long long wa = edge(b, c), wb = edge(c, a), wc = edge(a, b);
    if (area == 0 || !owns(b, c, wa) || !owns(c, a, wb) || !owns(a, b, wc))
        return 0;
    const double total = double(area) * 4.0, fa = wa / total, fb = wb / total, fc = wc / total;
    const auto channel = [&](int (*of)(ColorRef)) {
        return std::clamp(int(std::lround(fa * of(a.color) + fb * of(b.color) + fc * of(c.color))), 0, 255);
    };
    return plat::PremultipliedArgb(Rgb(channel(plat::RedOf), channel(plat::GreenOf), channel(plat::BlueOf)),
                                   255);
}

TEST(DeviceContextGradient, EveryPixelIsTheDefinitionsColourEvenExactlyHalfWay) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-40, 110), color(0, 0xFFFFFF);
    int mismatches = 0, covered = 0;
    for (int round = 0; round < 600; ++round) {
        plat::GradientVertex v[3];
        for (plat::GradientVertex& p : v)
            p = {coordinate(random), coordinate(random), ColorRef(color(random))};
        if (round % 3 == 0) // neighbouring colours: many pixels fall exactly half way between two values
            v[1].color = v[0].color + 0x010101 * (v[0].color < 0xFEFEFE), v[2].color = v[0].color;
        if (round % 4 == 0)
            v[1].y = v[0].y;
        DeviceContext dc(80, 60);
        const Rect clip = round % 5 == 0 ? Rect{7, 3, 61, 50} : Rect{0, 0, 80, 60};
        dc.pushClip(clip);
        dc.gradientFillTriangle(v[0], v[1], v[2]);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const std::uint32_t want =
                    clip.contains(x, y) ? ShadedByDefinition(v[0], v[1], v[2], x, y) : 0;
                mismatches += dc.pixelArgb(x, y) != want;
                covered += want != 0;
            }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(covered, 100000);
}

TEST(DeviceContextClip, NestedClipsNarrowEveryKindOfDrawingAndPopRestores) {
    DeviceContext dc(20, 20), src(20, 20);
    src.fillSolidRect(Rect{0, 0, 20, 20}, kRed);
    dc.pushClip(Rect{5, 5, 15, 15});
    dc.pushClip(Rect{10, 0, 30, 12});
    EXPECT_EQ(dc.clipBox(), (Rect{10, 5, 15, 12}));
    dc.bitBlt(0, 0, 20, 20, src, 0, 0);
    dc.stretchBlt(0, 0, 20, 20, src, 0, 0, 10, 10);
    dc.transparentBlt(0, 0, 20, 20, src, 0, 0, 20, 20, kKey);
    dc.alphaBlend(0, 0, 20, 20, src, 0, 0, 20, 20, 255, true);
    dc.gradientFillTriangle({0, 0, kRed}, {20, 0, kRed}, {0, 20, kRed});
    EXPECT_EQ(CountPixels(dc, kRed), 5 * 7);
    dc.popClip();
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kGreen);
    EXPECT_EQ(CountPixels(dc, kGreen), 10 * 10);
    dc.popClip();
    dc.popClip(); // one pop too many is ignored
    dc.pushClip(Rect{30, 30, 40, 40});
    EXPECT_TRUE(dc.clipBox().isEmpty());
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kBlue);
    EXPECT_EQ(CountPixels(dc, kBlue), 0);
}

TEST(DeviceContextBlit, CopyKeepsAlphaAndTakesOnlyWhatLiesInTheSource) {
    DeviceContext src(4, 4), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 4, 4}, kRed);
    *(src.scanLine(1) + 1) = 0x40100000u; // a translucent premultiplied pixel
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(3, 3, 3, 3, src, 0, 0);
    EXPECT_EQ(dst.pixelArgb(4, 4), 0x40100000u);
    EXPECT_EQ(CountPixels(dst, kRed), 8);
    // From partly outside the source: only the inside part is copied.
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(0, 0, 6, 6, src, -2, -2);
    EXPECT_EQ(CountPixels(dst, kRed), 15);
    EXPECT_EQ(dst.getPixel(1, 1), kBlue);
}

TEST(PixelRuns, PutBackExactlyWhereTheClipAllowsAndNothingElse) {
    DeviceContext picture(50, 30);
    picture.fillSolidRect(Rect{0, 0, 50, 30}, kRed);
    picture.fillSolidRect(Rect{10, 5, 30, 25}, kGreen);
    for (int x = 0; x < 50; x += 3)
        *(picture.scanLine(x % 30) + x) = 0x40100000u; // single translucent pixels among the runs
    const Rect part{4, 2, 47, 29};
    const plat::PixelRuns runs = plat::PixelRuns::capture(picture, part);
    EXPECT_EQ(runs.size(), (plat::Size{43, 27}));
    EXPECT_LT(runs.runCount(), size_t(43 * 27 / 4));
    for (const Rect clip : {Rect{0, 0, 60, 40}, Rect{9, 8, 33, 20}, Rect{-5, -5, 12, 100}}) {
        DeviceContext copied(60, 40), expected(60, 40);
        copied.fillSolidRect(Rect{0, 0, 60, 40}, kBlue);
        expected.fillSolidRect(Rect{0, 0, 60, 40}, kBlue);
        copied.pushClip(clip);
        expected.pushClip(clip);
        runs.draw(copied, 6, 9);
        expected.bitBlt(6, 9, part.width(), part.height(), picture, part.left, part.top);
        EXPECT_EQ(copied.image(), expected.image()) << clip.left << "," << clip.top;
    }
    EXPECT_EQ(plat::PixelRuns::capture(picture, Rect{40, 0, 51, 5}).size(), (plat::Size{0, 0}))
        << "a part reaching outside the surface is not taken";
}

TEST(DeviceContextBlit, StretchingNeverBleedsFromNeighboursAndKeyColourCopiesLeaveTheKeyOut) {
    DeviceContext atlas(3, 5), dst(40, 5);
    atlas.fillSolidRect(Rect{0, 0, 1, 5}, kRed);
    atlas.fillSolidRect(Rect{1, 0, 2, 5}, Rgb(10, 120, 200));
    atlas.fillSolidRect(Rect{2, 0, 3, 5}, kBlue);
    dst.stretchBlt(5, 0, 30, 5, atlas, 1, 0, 1, 5);
    EXPECT_EQ(CountPixels(dst, Rgb(10, 120, 200), Rect{5, 0, 35, 5}), 30 * 5);
    EXPECT_EQ(dst.pixelArgb(4, 2), 0u);
    // Key-colour pixels stay out, at the icon's own size and stretched to twice it.
    DeviceContext icon(4, 4), target(10, 10);
    icon.fillSolidRect(Rect{0, 0, 4, 4}, kKey);
    icon.fillSolidRect(Rect{1, 1, 3, 3}, kRed);
    for (const int scale : {1, 2}) {
        target.fillSolidRect(Rect{0, 0, 10, 10}, kGreen);
        target.transparentBlt(2, 2, 4 * scale, 4 * scale, icon, 0, 0, 4, 4, kKey);
        EXPECT_EQ(CountPixels(target, kKey), 0);
        EXPECT_EQ(CountPixels(target, kRed), 4 * scale * scale);
    }
}

TEST(DeviceContextBlit, AlphaBlendMultipliesConstantAndPerPixelAlpha) {
    struct Case {
        ColorRef source;
        int sourceAlpha;
        int constantAlpha;
        bool perPixel;
        int red, blue;
    };
    // Over blue, except the first three over black.
    const Case cases[] = {
        {kWhite, 255, 128, false, 128, 128}, {kWhite, 255, 0, false, 0, 0},
        {kWhite, 255, 255, false, 255, 255}, {kRed, 128, 255, true, 128, 127},
        {kRed, 128, 128, true, 64, 191},     {kRed, 128, 255, false, 128, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        DeviceContext src(1, 1), dst(1, 1);
        *src.scanLine(0) = plat::PremultipliedArgb(c.source, c.sourceAlpha);
        dst.fillSolidRect(Rect{0, 0, 1, 1}, i < 3 ? kBlack : kBlue);
        dst.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, c.constantAlpha, c.perPixel);
        EXPECT_NEAR(plat::RedOf(dst.getPixel(0, 0)), c.red, 3) << i;
        EXPECT_NEAR(plat::BlueOf(dst.getPixel(0, 0)), c.blue, 3) << i;
        EXPECT_EQ(dst.pixelArgb(0, 0) >> 24, 255u) << i;
    }
}

class DeviceContextText : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dc.create(300, 100);
        m_dc.selectFont(&m_font);
        m_dc.setTextColor(kBlack);
    }
    // Draws on a clean surface and answers where ink fell.
    Rect InkOf(const QString& text, Rect r, unsigned flags) {
        m_dc.fillSolidRect(Rect{0, 0, 300, 100}, kWhite);
        m_dc.drawText(text, r, flags);
        return InkBox(m_dc, kWhite);
    }
    int CalcWidth(const QString& text, unsigned flags, int width = 300) {
        Rect r{0, 0, width, 0};
        m_dc.drawText(text, r, flags | plat::kTextCalcRect);
        return r.width();
    }
    plat::Font m_font{u"Arial"_s, 15};
    DeviceContext m_dc;
};

TEST_F(DeviceContextText, CalcRectMeasuresWrapsAtTheWidthAndHandlesLineBreaksPrefixesAndTabs) {
    Rect one{10, 10, 200, 50};
    const plat::Size extent = m_dc.getTextExtent(u"Measure me"_s);
    EXPECT_EQ(m_dc.drawText(u"Measure me"_s, one, plat::kTextSingleLine | plat::kTextCalcRect), extent.cy);
    EXPECT_EQ(one, (Rect{10, 10, 10 + extent.cx, 10 + extent.cy}));
    Rect words{0, 0, 350, 0};
    const int height = m_dc.drawText(u"word "_s.repeated(60), words,
                                     plat::kTextWordBreak | plat::kTextExpandTabs | plat::kTextCalcRect);
    EXPECT_LE(words.width(), 350);
    EXPECT_GT(words.width(), 300);
    EXPECT_EQ(height % m_font.height(), 0);
    EXPECT_GT(height, m_font.height());
    EXPECT_EQ(CalcWidth(u"short"_s, plat::kTextWordBreak, 350), m_dc.getTextExtent(u"short"_s).cx);
    Rect lines{0, 0, 350, 0};
    EXPECT_EQ(m_dc.drawText(u"one\r\ntwo\nthree"_s, lines, plat::kTextCalcRect), 3 * m_font.height());
    // "&" marks a mnemonic unless told otherwise; tabs take room only when expanded.
    const unsigned line = plat::kTextSingleLine;
    EXPECT_EQ(CalcWidth(u"&Open"_s, line), m_dc.getTextExtent(u"Open"_s).cx);
    EXPECT_EQ(CalcWidth(u"&Open"_s, line | plat::kTextNoPrefix), m_dc.getTextExtent(u"&Open"_s).cx);
    EXPECT_EQ(CalcWidth(u"A&&B"_s, line), m_dc.getTextExtent(u"A&B"_s).cx);
    EXPECT_GT(CalcWidth(u"a\tb"_s, line | plat::kTextExpandTabs), CalcWidth(u"a\tb"_s, line));
}

TEST_F(DeviceContextText, EllipsisClippingAndAlignmentKeepTheTextWhereItBelongs) {
    const QString longText = u"A caption far too long for the little button it sits on"_s;
    const Rect ellipsis = InkOf(longText, Rect{20, 20, 120, 50},
                                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine |
                                    plat::kTextEndEllipsis | plat::kTextNoClip);
    EXPECT_GE(ellipsis.left, 20);
    EXPECT_LE(ellipsis.right, 120);
    EXPECT_LE(CalcWidth(longText, plat::kTextSingleLine | plat::kTextEndEllipsis, 100), 100);
    EXPECT_LE(InkOf(longText, Rect{20, 20, 60, 40}, plat::kTextSingleLine).right, 60);
    EXPECT_GT(InkOf(longText, Rect{20, 60, 60, 80}, plat::kTextSingleLine | plat::kTextNoClip).right, 60);
    const unsigned base = plat::kTextSingleLine | plat::kTextVCenter;
    const Rect centre = InkOf(u"x"_s, Rect{0, 0, 300, 100}, base | plat::kTextCenter);
    EXPECT_NEAR((centre.left + centre.right) / 2, 150, 3);
    EXPECT_NEAR((centre.top + centre.bottom) / 2, 50, 4);
    Rect r{0, 0, 300, 100};
    EXPECT_EQ(m_dc.drawText(u"x"_s, r, base | plat::kTextCenter),
              (100 - m_font.height()) / 2 + m_font.height());
}

TEST(Font, PositiveHeightIsTheCellNegativeTheCharacter) {
    const plat::Font cell(u"Arial"_s, 15), character(u"Arial"_s, -15);
    EXPECT_NEAR(cell.height(), 15, 1);
    EXPECT_GT(character.height(), cell.height()); // an em of 15 px needs a taller cell
    EXPECT_EQ(cell.ascent() + cell.descent(), cell.height());
}
