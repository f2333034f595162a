#include "platform/device_context.h"
#include "platform/font.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using plat::ColorRef;
using plat::DeviceContext;
using plat::Rect;
using plat::rgb;

namespace {

constexpr ColorRef kRed = rgb(255, 0, 0);
constexpr ColorRef kGreen = rgb(0, 255, 0);
constexpr ColorRef kBlue = rgb(0, 0, 255);
constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kBlack = rgb(0, 0, 0);
constexpr ColorRef kKey = rgb(255, 0, 255);

int countPixels(const DeviceContext& dc, ColorRef color, const Rect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += dc.getPixel(x, y) == color;
    return n;
}

int countAll(const DeviceContext& dc, ColorRef color) {
    return countPixels(dc, color, Rect{0, 0, dc.width(), dc.height()});
}

// The bounding box of pixels that differ from the background.
Rect inkBox(const DeviceContext& dc, ColorRef background) {
    Rect box;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            if (dc.getPixel(x, y) != background)
                box = box.isEmpty() ? Rect{x, y, x + 1, y + 1} : box.united(Rect{x, y, x + 1, y + 1});
    return box;
}

} // namespace

TEST(DeviceContextSurface, CreateClearsToTransparentAndRejectsEmptySizes) {
    DeviceContext dc;
    EXPECT_TRUE(dc.isNull());
    ASSERT_TRUE(dc.create(8, 4));
    EXPECT_EQ(dc.pixelArgb(7, 3), 0u);
    EXPECT_EQ(dc.getPixel(8, 0), plat::kInvalidColor);
    EXPECT_EQ(dc.getPixel(-1, 0), plat::kInvalidColor);
    EXPECT_EQ(dc.scanLine(4), nullptr);
    EXPECT_FALSE(dc.create(0, 10));
    EXPECT_TRUE(dc.isNull());
    // Drawing on an empty surface is harmless.
    dc.fillSolidRect(Rect{0, 0, 5, 5}, kRed);
    dc.setPixel(0, 0, kRed);
    EXPECT_EQ(dc.getPixel(0, 0), plat::kInvalidColor);
}

TEST(DeviceContextSurface, SavedImageLoadsBackTheSamePixels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    DeviceContext dc(5, 3);
    dc.fillSolidRect(Rect{0, 0, 5, 3}, kBlue);
    dc.setPixel(4, 2, kKey);
    const QString path = dir.filePath(u"s.png"_s);
    ASSERT_TRUE(dc.saveImage(path));
    DeviceContext loaded;
    ASSERT_TRUE(loaded.loadImage(path));
    EXPECT_EQ(loaded.size(), (plat::Size{5, 3}));
    EXPECT_EQ(loaded.getPixel(4, 2), kKey);
    EXPECT_EQ(loaded.getPixel(0, 0), kBlue);
    EXPECT_FALSE(loaded.loadImage(dir.filePath(u"missing.png"_s)));
    EXPECT_FALSE(loaded.loadImage(u":/no/such/resource.png"_s));
}

TEST(DeviceContextFill, RectanglesAndFramesLeaveOutRightAndBottom) {
    DeviceContext dc(10, 10);
    dc.fillSolidRect(Rect{2, 3, 5, 7}, kRed);
    EXPECT_EQ(countAll(dc, kRed), 3 * 4);
    EXPECT_EQ(dc.getPixel(4, 6), kRed);
    EXPECT_EQ(dc.pixelArgb(2, 3), 0xFFFF0000u);
    dc.frameRect(Rect{1, 1, 6, 5}, kGreen);
    EXPECT_EQ(countAll(dc, kGreen), 2 * 5 + 2 * 2);
    EXPECT_EQ(dc.getPixel(5, 4), kGreen);
    EXPECT_NE(dc.getPixel(3, 3), kGreen);
}

TEST(DeviceContextFill, LinesLeaveOutTheirEndPointInEveryDirection) {
    struct Case {
        plat::Point from, to, lastIn;
        int pixels;
        const char* note;
    };
    const Case cases[] = {{{2, 5}, {8, 5}, {7, 5}, 6, "forwards"},
                          {{8, 9}, {3, 9}, {4, 9}, 5, "backwards"},
                          {{0, 0}, {0, 4}, {0, 3}, 4, "vertical"},
                          {{0, 11}, {4, 7}, {3, 8}, 4, "diagonal"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        DeviceContext dc(12, 12);
        dc.setPen(kRed);
        dc.moveTo(c.from.x, c.from.y);
        dc.lineTo(c.to.x, c.to.y);
        EXPECT_EQ(countAll(dc, kRed), c.pixels);
        EXPECT_EQ(dc.getPixel(c.from.x, c.from.y), kRed);
        EXPECT_EQ(dc.getPixel(c.lastIn.x, c.lastIn.y), kRed);
        EXPECT_NE(dc.getPixel(c.to.x, c.to.y), kRed);
    }
}

TEST(DeviceContextFill, WidePolylineDrawsAClosedFrame) {
    DeviceContext dc(40, 30);
    const ColorRef c = rgb(187, 240, 250);
    dc.setPen(c, 3);
    const plat::Point points[] = {{1, 1}, {38, 1}, {38, 28}, {1, 28}, {1, 1}};
    dc.polyline(points, 5);
    for (const plat::Point p : points)
        EXPECT_EQ(dc.getPixel(p.x, p.y), c);
    EXPECT_EQ(dc.getPixel(20, 28), c);
    EXPECT_EQ(dc.getPixel(1, 15), c);
    EXPECT_EQ(dc.pixelArgb(20, 15), 0u); // inside stays untouched
}

TEST(DeviceContextGradient, RectangleEndsCarryTheExactColours) {
    DeviceContext dc(50, 20);
    dc.gradientFillRect(Rect{0, 0, 50, 10}, rgb(241, 249, 255), rgb(254, 255, 255),
                        plat::GradientDirection::Horizontal);
    EXPECT_EQ(dc.getPixel(0, 5), rgb(241, 249, 255));
    EXPECT_EQ(dc.getPixel(49, 5), rgb(254, 255, 255));
    EXPECT_GT(plat::redOf(dc.getPixel(25, 5)), 241);
    EXPECT_LT(plat::redOf(dc.getPixel(25, 5)), 254);
    EXPECT_EQ(dc.getPixel(17, 0), dc.getPixel(17, 9));
    dc.gradientFillRect(Rect{0, 10, 50, 20}, kBlack, kWhite, plat::GradientDirection::Vertical);
    EXPECT_EQ(dc.getPixel(30, 10), kBlack);
    EXPECT_EQ(dc.getPixel(30, 19), kWhite);
    EXPECT_EQ(dc.getPixel(0, 15), dc.getPixel(49, 15));
}

TEST(DeviceContextGradient, TrianglesSharingAnEdgeCoverEachPixelOnce) {
    // The two halves of a band, as a trapezoid is shaded from an outer to an inner rectangle.
    const plat::GradientVertex a{3, 28, kRed}, b{97, 28, kRed}, c{77, 48, kBlue}, d{23, 48, kBlue};
    DeviceContext first(100, 60), second(100, 60);
    first.gradientFillTriangle(a, b, c);
    second.gradientFillTriangle(a, c, d);
    int covered = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool inFirst = first.pixelArgb(x, y) != 0, inSecond = second.pixelArgb(x, y) != 0;
            EXPECT_FALSE(inFirst && inSecond) << x << "," << y;
            covered += inFirst || inSecond;
        }
    // A trapezoid 94 px wide at the top and 54 at the bottom, 20 rows: (94 + 54) / 2 * 20.
    EXPECT_NEAR(covered, 1480, 25);
    // Colours follow the vertices: red near the outer edge, blue near the inner one.
    EXPECT_GT(plat::redOf(first.getPixel(50, 28)), 230);
    EXPECT_GT(plat::blueOf(second.getPixel(50, 47)), 230);
    const ColorRef middle = plat::colorOfArgb(first.pixelArgb(60, 38) | second.pixelArgb(60, 38));
    EXPECT_NEAR(plat::redOf(middle), 128, 20);
}

TEST(DeviceContextClip, PushNarrowsAndPopRestores) {
    DeviceContext dc(20, 20);
    EXPECT_EQ(dc.clipBox(), (Rect{0, 0, 20, 20}));
    dc.pushClip(Rect{5, 5, 15, 15});
    dc.pushClip(Rect{10, 0, 30, 12});
    EXPECT_EQ(dc.clipBox(), (Rect{10, 5, 15, 12}));
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kRed);
    EXPECT_EQ(countAll(dc, kRed), 5 * 7);
    dc.popClip();
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kGreen);
    EXPECT_EQ(countAll(dc, kGreen), 10 * 10);
    dc.popClip();
    dc.popClip(); // one pop too many is ignored
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kBlue);
    EXPECT_EQ(countAll(dc, kBlue), 400);
    // A clip outside the surface draws nothing at all.
    dc.pushClip(Rect{30, 30, 40, 40});
    EXPECT_TRUE(dc.clipBox().isEmpty());
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kRed);
    EXPECT_EQ(countAll(dc, kRed), 0);
}

TEST(DeviceContextClip, BlitsAndTrianglesHonourTheClip) {
    DeviceContext src(10, 10), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 10, 10}, kRed);
    dst.pushClip(Rect{0, 0, 5, 10});
    dst.bitBlt(0, 0, 10, 10, src, 0, 0);
    EXPECT_EQ(countAll(dst, kRed), 50);
    dst.transparentBlt(0, 0, 10, 10, src, 0, 0, 10, 10, kKey);
    dst.alphaBlend(0, 0, 10, 10, src, 0, 0, 10, 10, 255, true);
    dst.stretchBlt(0, 0, 10, 10, src, 0, 0, 5, 5);
    dst.gradientFillTriangle({0, 0, kRed}, {10, 0, kRed}, {0, 10, kRed});
    EXPECT_EQ(countPixels(dst, kRed, Rect{5, 0, 10, 10}), 0);
}

TEST(DeviceContextBlit, CopyReplacesPixelsAlphaIncluded) {
    DeviceContext src(4, 4), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 4, 4}, kRed);
    src.image();                          // settle
    *(src.scanLine(1) + 1) = 0x40100000u; // a translucent premultiplied pixel
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(3, 3, 3, 3, src, 0, 0);
    EXPECT_EQ(dst.pixelArgb(4, 4), 0x40100000u);
    EXPECT_EQ(dst.getPixel(6, 6), kBlue);
    EXPECT_EQ(countAll(dst, kRed), 8);
    // From partly outside the source: only the inside part is copied.
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(0, 0, 6, 6, src, -2, -2);
    EXPECT_EQ(countAll(dst, kRed), 15);
    EXPECT_EQ(dst.getPixel(1, 1), kBlue);
    EXPECT_EQ(dst.getPixel(2, 2), kRed);
    EXPECT_EQ(dst.getPixel(5, 5), kRed);
}

TEST(DeviceContextBlit, CopyWithinTheSameSurface) {
    DeviceContext dc(10, 1);
    for (int x = 0; x < 10; ++x)
        dc.setPixel(x, 0, rgb(x * 10, 0, 0));
    dc.bitBlt(2, 0, 6, 1, dc, 0, 0);
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(plat::redOf(dc.getPixel(x, 0)), (x - 2) * 10) << x;
}

TEST(DeviceContextBlit, HalftoneStretchOfOneColumnIsUniform) {
    DeviceContext atlas(3, 5), dst(40, 5);
    atlas.fillSolidRect(Rect{0, 0, 1, 5}, kRed);
    atlas.fillSolidRect(Rect{1, 0, 2, 5}, rgb(10, 120, 200));
    atlas.fillSolidRect(Rect{2, 0, 3, 5}, kBlue);
    dst.stretchBlt(5, 0, 30, 5, atlas, 1, 0, 1, 5);
    // The neighbouring columns of the atlas never bleed into a stretched middle piece.
    EXPECT_EQ(countPixels(dst, rgb(10, 120, 200), Rect{5, 0, 35, 5}), 30 * 5);
    EXPECT_EQ(dst.pixelArgb(4, 2), 0u);
    EXPECT_EQ(dst.pixelArgb(35, 2), 0u);
}

TEST(DeviceContextBlit, StretchModesSmoothOrNearest) {
    DeviceContext src(2, 1), dst(8, 1);
    src.setPixel(0, 0, kBlack);
    src.setPixel(1, 0, kWhite);
    dst.setStretchMode(plat::StretchMode::ColorOnColor);
    dst.stretchBlt(0, 0, 8, 1, src, 0, 0, 2, 1);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dst.getPixel(x, 0), x < 4 ? kBlack : kWhite) << x;
    dst.setStretchMode(plat::StretchMode::Halftone);
    dst.stretchBlt(0, 0, 8, 1, src, 0, 0, 2, 1);
    EXPECT_GT(plat::redOf(dst.getPixel(4, 0)), 0);
    EXPECT_LT(plat::redOf(dst.getPixel(4, 0)), 255);
}

TEST(DeviceContextBlit, KeyColourCopyLeavesKeyPixelsOutEvenStretched) {
    DeviceContext icon(4, 4), dst(10, 10);
    icon.fillSolidRect(Rect{0, 0, 4, 4}, kKey);
    icon.fillSolidRect(Rect{1, 1, 3, 3}, kRed);
    // At its own size, then twice the size by nearest pixel: the red centre becomes 4 x 4.
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        dst.fillSolidRect(Rect{0, 0, 10, 10}, kGreen);
        dst.transparentBlt(2, 2, 4 * scale, 4 * scale, icon, 0, 0, 4, 4, kKey);
        EXPECT_EQ(countAll(dst, kKey), 0);
        EXPECT_EQ(countAll(dst, kRed), 4 * scale * scale);
        EXPECT_EQ(dst.getPixel(2 + scale - 1, 2 + scale - 1), kGreen);
        EXPECT_EQ(dst.getPixel(2 + scale, 2 + scale), kRed);
    }
}

TEST(DeviceContextBlit, AlphaBlendMultipliesConstantAndPerPixelAlpha) {
    struct Case {
        ColorRef source;
        int sourceAlpha;
        ColorRef target;
        int constantAlpha;
        bool perPixel;
        int red, blue;
        const char* note;
    };
    const Case cases[] = {
        {kWhite, 255, kBlack, 128, false, 128, 128, "constant half"},
        {kWhite, 255, kBlack, 0, false, 0, 0, "constant 0 leaves the target alone"},
        {kWhite, 255, kBlack, 255, false, 255, 255, "constant 255 copies"},
        {kRed, 128, kBlue, 255, true, 128, 127, "half-covered red over blue"},
        {kRed, 128, kBlue, 128, true, 64, 191, "both alphas multiply"},
        {kRed, 128, kBlue, 255, false, 128, 0, "without per-pixel alpha the colour bytes replace"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        DeviceContext src(1, 1), dst(1, 1);
        *src.scanLine(0) = plat::premultipliedArgb(c.source, c.sourceAlpha);
        dst.fillSolidRect(Rect{0, 0, 1, 1}, c.target);
        dst.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, c.constantAlpha, c.perPixel);
        EXPECT_NEAR(plat::redOf(dst.getPixel(0, 0)), c.red, 3);
        EXPECT_NEAR(plat::blueOf(dst.getPixel(0, 0)), c.blue, 3);
        EXPECT_EQ(dst.pixelArgb(0, 0) >> 24, 255u);
    }
}

class DeviceContextText : public ::testing::Test {
  protected:
    void SetUp() override {
        dc.create(300, 100);
        dc.selectFont(&font);
        dc.setTextColor(kBlack);
        clear();
    }
    void clear() { dc.fillSolidRect(Rect{0, 0, 300, 100}, kWhite); }
    // Draws on a clean surface and answers where ink fell.
    Rect inkOf(const QString& text, Rect r, unsigned flags) {
        clear();
        dc.drawText(text, r, flags);
        return inkBox(dc, kWhite);
    }
    int calcWidth(const QString& text, unsigned flags, int width = 300) {
        Rect r{0, 0, width, 0};
        dc.drawText(text, r, flags | plat::kTextCalcRect);
        return r.width();
    }
    plat::Font font{u"Arial"_s, 15};
    DeviceContext dc;
};

TEST_F(DeviceContextText, TextOutInksBelowAndRightOfItsOrigin) {
    dc.textOut(20, 30, u"Hello"_s);
    const Rect ink = inkBox(dc, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    const plat::Size extent = dc.getTextExtent(u"Hello"_s);
    EXPECT_GE(ink.left, 20);
    EXPECT_GE(ink.top, 30);
    EXPECT_LE(ink.right, 20 + extent.cx + 1);
    EXPECT_LE(ink.bottom, 30 + extent.cy);
    EXPECT_GT(ink.width(), extent.cx / 2);
}

TEST_F(DeviceContextText, OpaqueBackgroundFillsTheTextCell) {
    dc.setBkMode(plat::BkMode::Opaque);
    dc.setBkColor(kBlue);
    dc.textOut(10, 10, u"ab"_s);
    const plat::Size extent = dc.getTextExtent(u"ab"_s);
    EXPECT_EQ(dc.getPixel(10, 10), kBlue);
    EXPECT_EQ(dc.getPixel(10 + extent.cx - 1, 10 + extent.cy - 1), kBlue);
    EXPECT_EQ(dc.getPixel(10 + extent.cx, 10), kWhite);
}

TEST_F(DeviceContextText, CalcRectMeasuresWithoutDrawing) {
    Rect r{10, 10, 200, 50};
    const int height = dc.drawText(u"Measure me"_s, r, plat::kTextSingleLine | plat::kTextCalcRect);
    const plat::Size extent = dc.getTextExtent(u"Measure me"_s);
    EXPECT_EQ(height, extent.cy);
    EXPECT_EQ(r, (Rect{10, 10, 10 + extent.cx, 10 + extent.cy}));
    EXPECT_TRUE(inkBox(dc, kWhite).isEmpty());
}

TEST_F(DeviceContextText, WordBreakWrapsAtTheWidth) {
    const QString words = u"word "_s.repeated(60);
    Rect r{0, 0, 350, 0};
    const int height =
        dc.drawText(words, r, plat::kTextWordBreak | plat::kTextExpandTabs | plat::kTextCalcRect);
    EXPECT_LE(r.width(), 350);
    EXPECT_GT(r.width(), 300);
    EXPECT_GT(height, font.height());
    EXPECT_EQ(height % font.height(), 0);
    EXPECT_EQ(r.height(), height);
    // A short text keeps its own width.
    Rect shortRect{0, 0, 350, 0};
    dc.drawText(u"short"_s, shortRect, plat::kTextWordBreak | plat::kTextCalcRect);
    EXPECT_EQ(shortRect.width(), dc.getTextExtent(u"short"_s).cx);
    EXPECT_EQ(shortRect.height(), font.height());
    // Line breaks in the text start new lines.
    Rect lines{0, 0, 350, 0};
    EXPECT_EQ(dc.drawText(u"one\r\ntwo\nthree"_s, lines, plat::kTextCalcRect), 3 * font.height());
}

TEST_F(DeviceContextText, EllipsisAndClippingKeepTheTextInsideTheRectangle) {
    const QString longText = u"A caption far too long for the little button it sits on"_s;
    const Rect ellipsis = inkOf(longText, Rect{20, 20, 120, 50},
                                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine |
                                    plat::kTextEndEllipsis | plat::kTextNoClip);
    ASSERT_FALSE(ellipsis.isEmpty());
    EXPECT_GE(ellipsis.left, 20);
    EXPECT_LE(ellipsis.right, 120);
    const int measured = calcWidth(longText, plat::kTextSingleLine | plat::kTextEndEllipsis, 100);
    EXPECT_LE(measured, 100);
    EXPECT_GT(measured, 50);
    const Rect clipped = inkOf(longText, Rect{20, 20, 60, 40}, plat::kTextSingleLine);
    EXPECT_GE(clipped.left, 20);
    EXPECT_LE(clipped.right, 60);
    EXPECT_GT(inkOf(longText, Rect{20, 60, 60, 80}, plat::kTextSingleLine | plat::kTextNoClip).right, 60);
}

TEST_F(DeviceContextText, AlignmentAndVerticalCentre) {
    const unsigned base = plat::kTextSingleLine | plat::kTextVCenter;
    EXPECT_LT(inkOf(u"x"_s, Rect{0, 0, 300, 100}, base | plat::kTextLeft).left, 5);
    EXPECT_GT(inkOf(u"x"_s, Rect{0, 0, 300, 100}, base | plat::kTextRight).right, 295);
    const Rect centre = inkOf(u"x"_s, Rect{0, 0, 300, 100}, base | plat::kTextCenter);
    EXPECT_NEAR((centre.left + centre.right) / 2, 150, 3);
    EXPECT_NEAR((centre.top + centre.bottom) / 2, 50, 4);
    // The answer reaches from the rectangle's top to the bottom of the centred line.
    Rect r{0, 0, 300, 100};
    EXPECT_EQ(dc.drawText(u"x"_s, r, base | plat::kTextCenter), (100 - font.height()) / 2 + font.height());
}

TEST_F(DeviceContextText, PrefixAndTabCharacters) {
    const unsigned line = plat::kTextSingleLine;
    EXPECT_EQ(calcWidth(u"&Open"_s, line), dc.getTextExtent(u"Open"_s).cx);
    EXPECT_EQ(calcWidth(u"&Open"_s, line | plat::kTextNoPrefix), dc.getTextExtent(u"&Open"_s).cx);
    EXPECT_EQ(calcWidth(u"A&&B"_s, line), dc.getTextExtent(u"A&B"_s).cx);
    EXPECT_GT(calcWidth(u"a\tb"_s, line | plat::kTextExpandTabs), calcWidth(u"a\tb"_s, line));
}

TEST_F(DeviceContextText, SelectFontAnswersThePreviousOne) {
    plat::Font bold(u"Arial"_s, 15, plat::kFontWeightBold);
    EXPECT_EQ(dc.selectFont(&bold), &font);
    const int boldWidth = dc.getTextExtent(u"Tarnwick 2.0"_s).cx;
    EXPECT_EQ(dc.selectFont(&font), &bold);
    EXPECT_GT(boldWidth, dc.getTextExtent(u"Tarnwick 2.0"_s).cx);
    EXPECT_EQ(dc.selectFont(nullptr), &font);
    EXPECT_GT(dc.getTextExtent(u"x"_s).cx, 0); // the default font measures too
}

TEST(Font, ArialIsDrawnWithLiberationSans) {
    EXPECT_EQ(plat::fontFamilyFor(u"arial"_s), u"Liberation Sans"_s);
    EXPECT_EQ(plat::fontFamilyFor(u"Liberation Mono"_s), u"Liberation Mono"_s);
}

TEST(Font, PositiveHeightIsTheCellNegativeTheCharacter) {
    const plat::Font cell(u"Arial"_s, 15), character(u"Arial"_s, -15), small(u"Arial"_s, 12);
    EXPECT_NEAR(cell.height(), 15, 1);
    EXPECT_GT(character.height(), cell.height()); // an em of 15 px needs a taller cell
    EXPECT_LT(small.height(), cell.height());
    EXPECT_EQ(cell.ascent() + cell.descent(), cell.height());
}
