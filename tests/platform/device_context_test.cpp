#include "platform/device_context.h"
#include "platform/font.h"

#include <QDir>
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
            if (dc.getPixel(x, y) == color)
                ++n;
    return n;
}

// The bounding box of pixels that differ from the background.
Rect inkBox(const DeviceContext& dc, ColorRef background) {
    Rect box;
    bool any = false;
    for (int y = 0; y < dc.height(); ++y)
        for (int x = 0; x < dc.width(); ++x)
            if (dc.getPixel(x, y) != background) {
                const Rect pixel{x, y, x + 1, y + 1};
                box = any ? box.united(pixel) : pixel;
                any = true;
            }
    return box;
}

} // namespace

TEST(DeviceContextSurface, CreateClearsToTransparentAndRejectsEmptySizes) {
    DeviceContext dc;
    EXPECT_TRUE(dc.isNull());
    ASSERT_TRUE(dc.create(8, 4));
    EXPECT_EQ(dc.size(), (plat::Size{8, 4}));
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

TEST(DeviceContextFill, RectanglesLeaveOutRightAndBottom) {
    DeviceContext dc(10, 10);
    dc.fillSolidRect(Rect{2, 3, 5, 7}, kRed);
    EXPECT_EQ(countPixels(dc, kRed, Rect{0, 0, 10, 10}), 3 * 4);
    EXPECT_EQ(dc.getPixel(4, 6), kRed);
    EXPECT_NE(dc.getPixel(5, 6), kRed);
    EXPECT_NE(dc.getPixel(4, 7), kRed);
    EXPECT_EQ(dc.pixelArgb(2, 3), 0xFFFF0000u);
}

TEST(DeviceContextFill, FrameIsOnePixelInsideTheRectangle) {
    DeviceContext dc(10, 10);
    dc.frameRect(Rect{1, 1, 6, 5}, kGreen);
    EXPECT_EQ(countPixels(dc, kGreen, Rect{0, 0, 10, 10}), 2 * 5 + 2 * 2);
    EXPECT_EQ(dc.getPixel(5, 4), kGreen);
    EXPECT_NE(dc.getPixel(3, 3), kGreen);
    EXPECT_NE(dc.getPixel(6, 4), kGreen);
}

TEST(DeviceContextFill, LinesLeaveOutTheirEndPoint) {
    DeviceContext dc(12, 12);
    dc.setPen(kRed);
    dc.moveTo(2, 5);
    dc.lineTo(8, 5);
    EXPECT_EQ(countPixels(dc, kRed, Rect{0, 0, 12, 12}), 6);
    EXPECT_EQ(dc.getPixel(2, 5), kRed);
    EXPECT_NE(dc.getPixel(8, 5), kRed);
    // Backwards and vertical: still the start pixel in, the end pixel out.
    dc.setPen(kBlue);
    dc.moveTo(8, 9);
    dc.lineTo(3, 9);
    EXPECT_EQ(dc.getPixel(8, 9), kBlue);
    EXPECT_NE(dc.getPixel(3, 9), kBlue);
    EXPECT_EQ(dc.getPixel(4, 9), kBlue);
    dc.moveTo(0, 0);
    dc.lineTo(0, 4);
    EXPECT_EQ(countPixels(dc, kBlue, Rect{0, 0, 1, 12}), 4);
    // A diagonal reaches the pixel before its end.
    dc.setPen(kGreen);
    dc.moveTo(0, 11);
    dc.lineTo(4, 7);
    EXPECT_EQ(dc.getPixel(3, 8), kGreen);
    EXPECT_NE(dc.getPixel(4, 7), kGreen);
}

TEST(DeviceContextFill, WidePolylineDrawsAClosedFrame) {
    DeviceContext dc(40, 30);
    dc.setPen(rgb(187, 240, 250), 3);
    const plat::Point points[] = {{1, 1}, {38, 1}, {38, 28}, {1, 28}, {1, 1}};
    dc.polyline(points, 5);
    const ColorRef c = rgb(187, 240, 250);
    EXPECT_EQ(dc.getPixel(20, 1), c);
    EXPECT_EQ(dc.getPixel(38, 15), c);
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
    const ColorRef mid = dc.getPixel(25, 5);
    EXPECT_GT(plat::redOf(mid), 241);
    EXPECT_LT(plat::redOf(mid), 254);
    // Every column is uniform.
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

TEST(DeviceContextGradient, TriangleHonoursTheClip) {
    DeviceContext dc(20, 20);
    dc.pushClip(Rect{0, 0, 10, 20});
    dc.gradientFillTriangle({0, 0, kRed}, {20, 0, kRed}, {0, 20, kRed});
    EXPECT_EQ(countPixels(dc, kRed, Rect{10, 0, 20, 20}), 0);
    EXPECT_GT(countPixels(dc, kRed, Rect{0, 0, 10, 20}), 50);
}

TEST(DeviceContextClip, PushNarrowsAndPopRestores) {
    DeviceContext dc(20, 20);
    EXPECT_EQ(dc.clipBox(), (Rect{0, 0, 20, 20}));
    dc.pushClip(Rect{5, 5, 15, 15});
    dc.pushClip(Rect{10, 0, 30, 12});
    EXPECT_EQ(dc.clipBox(), (Rect{10, 5, 15, 12}));
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kRed);
    EXPECT_EQ(countPixels(dc, kRed, Rect{0, 0, 20, 20}), 5 * 7);
    dc.popClip();
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kGreen);
    EXPECT_EQ(countPixels(dc, kGreen, Rect{0, 0, 20, 20}), 10 * 10);
    dc.popClip();
    dc.popClip(); // one pop too many is ignored
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kBlue);
    EXPECT_EQ(countPixels(dc, kBlue, Rect{0, 0, 20, 20}), 400);
    // A clip outside the surface draws nothing at all.
    dc.pushClip(Rect{30, 30, 40, 40});
    EXPECT_TRUE(dc.clipBox().isEmpty());
    dc.fillSolidRect(Rect{0, 0, 20, 20}, kRed);
    EXPECT_EQ(countPixels(dc, kRed, Rect{0, 0, 20, 20}), 0);
}

TEST(DeviceContextBlit, CopyReplacesPixelsAlphaIncluded) {
    DeviceContext src(4, 4), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 4, 4}, kRed);
    src.image();                          // settle
    *(src.scanLine(1) + 1) = 0x40100000u; // a translucent premultiplied pixel
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(3, 3, 3, 3, src, 0, 0);
    EXPECT_EQ(dst.getPixel(3, 3), kRed);
    EXPECT_EQ(dst.pixelArgb(4, 4), 0x40100000u);
    EXPECT_EQ(dst.getPixel(6, 6), kBlue);
    EXPECT_EQ(countPixels(dst, kRed, Rect{0, 0, 10, 10}), 8);
}

TEST(DeviceContextBlit, CopyFromPartlyOutsideTheSourceCopiesTheInsidePart) {
    DeviceContext src(4, 4), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 4, 4}, kRed);
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kBlue);
    dst.bitBlt(0, 0, 6, 6, src, -2, -2);
    EXPECT_EQ(countPixels(dst, kRed, Rect{0, 0, 10, 10}), 16);
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
    for (int x = 5; x < 35; ++x)
        EXPECT_EQ(dst.getPixel(x, 2), rgb(10, 120, 200)) << x;
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
    const int middle = plat::redOf(dst.getPixel(4, 0));
    EXPECT_GT(middle, 0);
    EXPECT_LT(middle, 255);
}

TEST(DeviceContextBlit, KeyColourCopyLeavesKeyPixelsOut) {
    DeviceContext icon(4, 4), dst(10, 10);
    icon.fillSolidRect(Rect{0, 0, 4, 4}, kKey);
    icon.fillSolidRect(Rect{1, 1, 3, 3}, kRed);
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kGreen);
    dst.transparentBlt(2, 2, 4, 4, icon, 0, 0, 4, 4, kKey);
    EXPECT_EQ(countPixels(dst, kKey, Rect{0, 0, 10, 10}), 0);
    EXPECT_EQ(countPixels(dst, kRed, Rect{0, 0, 10, 10}), 4);
    EXPECT_EQ(dst.getPixel(2, 2), kGreen);
    EXPECT_EQ(dst.getPixel(3, 3), kRed);
    // Stretched to twice the size, nearest pixel: the red centre becomes 4 x 4 and no key colour shows.
    dst.fillSolidRect(Rect{0, 0, 10, 10}, kGreen);
    dst.transparentBlt(1, 1, 8, 8, icon, 0, 0, 4, 4, kKey);
    EXPECT_EQ(countPixels(dst, kKey, Rect{0, 0, 10, 10}), 0);
    EXPECT_EQ(countPixels(dst, kRed, Rect{0, 0, 10, 10}), 16);
    EXPECT_EQ(dst.getPixel(3, 3), kRed);
    EXPECT_EQ(dst.getPixel(2, 2), kGreen);
}

TEST(DeviceContextBlit, AlphaBlendWithConstantAlpha) {
    DeviceContext src(2, 2), dst(2, 2);
    src.fillSolidRect(Rect{0, 0, 2, 2}, kWhite);
    dst.fillSolidRect(Rect{0, 0, 2, 2}, kBlack);
    dst.alphaBlend(0, 0, 2, 2, src, 0, 0, 2, 2, 128, false);
    EXPECT_NEAR(plat::redOf(dst.getPixel(0, 0)), 128, 2);
    EXPECT_EQ(dst.pixelArgb(1, 1) >> 24, 255u);
    // Constant alpha 0 leaves the target alone; 255 copies.
    dst.alphaBlend(0, 0, 2, 2, src, 0, 0, 2, 2, 0, false);
    EXPECT_NEAR(plat::redOf(dst.getPixel(0, 0)), 128, 2);
    dst.alphaBlend(0, 0, 2, 2, src, 0, 0, 2, 2, 255, false);
    EXPECT_EQ(dst.getPixel(0, 0), kWhite);
}

TEST(DeviceContextBlit, AlphaBlendWithPerPixelAlpha) {
    DeviceContext src(1, 1), dst(1, 1);
    *src.scanLine(0) = plat::premultipliedArgb(kRed, 128); // half-covered red
    dst.fillSolidRect(Rect{0, 0, 1, 1}, kBlue);
    dst.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, 255, true);
    ColorRef c = dst.getPixel(0, 0);
    EXPECT_NEAR(plat::redOf(c), 128, 2);
    EXPECT_NEAR(plat::blueOf(c), 127, 2);
    // Both alphas multiply: a quarter of the red over blue.
    dst.fillSolidRect(Rect{0, 0, 1, 1}, kBlue);
    dst.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, 128, true);
    c = dst.getPixel(0, 0);
    EXPECT_NEAR(plat::redOf(c), 64, 3);
    EXPECT_NEAR(plat::blueOf(c), 191, 3);
    // Without per-pixel alpha the source counts as opaque: its colour bytes replace the target's.
    dst.fillSolidRect(Rect{0, 0, 1, 1}, kBlue);
    dst.alphaBlend(0, 0, 1, 1, src, 0, 0, 1, 1, 255, false);
    c = dst.getPixel(0, 0);
    EXPECT_NEAR(plat::redOf(c), 128, 2);
    EXPECT_EQ(plat::blueOf(c), 0);
}

TEST(DeviceContextBlit, BlitsHonourTheClip) {
    DeviceContext src(10, 10), dst(10, 10);
    src.fillSolidRect(Rect{0, 0, 10, 10}, kRed);
    dst.pushClip(Rect{0, 0, 5, 10});
    dst.bitBlt(0, 0, 10, 10, src, 0, 0);
    EXPECT_EQ(countPixels(dst, kRed, Rect{0, 0, 10, 10}), 50);
    dst.transparentBlt(0, 0, 10, 10, src, 0, 0, 10, 10, kKey);
    dst.alphaBlend(0, 0, 10, 10, src, 0, 0, 10, 10, 255, true);
    dst.stretchBlt(0, 0, 10, 10, src, 0, 0, 5, 5);
    EXPECT_EQ(countPixels(dst, kRed, Rect{5, 0, 10, 10}), 0);
}

class DeviceContextText : public ::testing::Test {
  protected:
    void SetUp() override {
        dc.create(300, 100);
        dc.fillSolidRect(Rect{0, 0, 300, 100}, kWhite);
        dc.selectFont(&font);
        dc.setTextColor(kBlack);
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
    QString words;
    for (int i = 0; i < 60; ++i)
        words += u"word "_s;
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

TEST_F(DeviceContextText, EndEllipsisKeepsTheTextInsideTheRectangle) {
    const QString longText = u"A caption far too long for the little button it sits on"_s;
    Rect r{20, 20, 120, 50};
    dc.setBkMode(plat::BkMode::Transparent);
    dc.drawText(longText, r,
                plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis |
                    plat::kTextNoClip);
    const Rect ink = inkBox(dc, kWhite);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 120);
    Rect measured{20, 20, 120, 50};
    dc.drawText(longText, measured, plat::kTextSingleLine | plat::kTextEndEllipsis | plat::kTextCalcRect);
    EXPECT_LE(measured.width(), 100);
    EXPECT_GT(measured.width(), 50);
}

TEST_F(DeviceContextText, WithoutNoClipTextStaysInItsRectangle) {
    Rect r{20, 20, 60, 40};
    dc.drawText(u"Clipped text that runs on and on"_s, r, plat::kTextSingleLine);
    const Rect ink = inkBox(dc, kWhite);
    EXPECT_LE(ink.right, 60);
    EXPECT_GE(ink.left, 20);
    Rect loose{20, 60, 60, 80};
    dc.drawText(u"Unclipped text that runs on and on"_s, loose, plat::kTextSingleLine | plat::kTextNoClip);
    EXPECT_GT(inkBox(dc, kWhite).right, 60);
}

TEST_F(DeviceContextText, AlignmentAndVerticalCentre) {
    Rect left{0, 0, 300, 100}, right{0, 0, 300, 100}, centre{0, 0, 300, 100};
    const unsigned base = plat::kTextSingleLine | plat::kTextVCenter;
    dc.drawText(u"x"_s, left, base | plat::kTextLeft);
    const Rect leftInk = inkBox(dc, kWhite);
    dc.fillSolidRect(Rect{0, 0, 300, 100}, kWhite);
    dc.drawText(u"x"_s, right, base | plat::kTextRight);
    const Rect rightInk = inkBox(dc, kWhite);
    dc.fillSolidRect(Rect{0, 0, 300, 100}, kWhite);
    const int answer = dc.drawText(u"x"_s, centre, base | plat::kTextCenter);
    const Rect centreInk = inkBox(dc, kWhite);
    EXPECT_LT(leftInk.left, 5);
    EXPECT_GT(rightInk.right, 295);
    EXPECT_NEAR((centreInk.left + centreInk.right) / 2, 150, 3);
    EXPECT_NEAR((centreInk.top + centreInk.bottom) / 2, 50, 4);
    // The answer reaches from the rectangle's top to the bottom of the centred line.
    EXPECT_EQ(answer, (100 - font.height()) / 2 + font.height());
}

TEST_F(DeviceContextText, PrefixCharactersUnlessNoPrefix) {
    Rect plain{0, 0, 300, 0}, prefixed{0, 0, 300, 0}, literal{0, 0, 300, 0}, doubled{0, 0, 300, 0};
    dc.drawText(u"Open"_s, plain, plat::kTextSingleLine | plat::kTextCalcRect);
    dc.drawText(u"&Open"_s, prefixed, plat::kTextSingleLine | plat::kTextCalcRect);
    dc.drawText(u"&Open"_s, literal, plat::kTextSingleLine | plat::kTextCalcRect | plat::kTextNoPrefix);
    dc.drawText(u"A&&B"_s, doubled, plat::kTextSingleLine | plat::kTextCalcRect);
    EXPECT_EQ(prefixed.width(), plain.width());
    EXPECT_EQ(literal.width(), dc.getTextExtent(u"&Open"_s).cx);
    EXPECT_EQ(doubled.width(), dc.getTextExtent(u"A&B"_s).cx);
}

TEST_F(DeviceContextText, TabsExpandToStops) {
    Rect expanded{0, 0, 300, 0}, unexpanded{0, 0, 300, 0};
    dc.drawText(u"a\tb"_s, expanded, plat::kTextSingleLine | plat::kTextExpandTabs | plat::kTextCalcRect);
    dc.drawText(u"a\tb"_s, unexpanded, plat::kTextSingleLine | plat::kTextCalcRect);
    EXPECT_GT(expanded.width(), unexpanded.width());
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
    EXPECT_EQ(plat::fontFamilyFor(u"Arial"_s), u"Liberation Sans"_s);
    EXPECT_EQ(plat::fontFamilyFor(u"arial"_s), u"Liberation Sans"_s);
    EXPECT_EQ(plat::fontFamilyFor(u"Liberation Mono"_s), u"Liberation Mono"_s);
}

TEST(Font, PositiveHeightIsTheCellNegativeTheCharacter) {
    const plat::Font cell(u"Arial"_s, 15), character(u"Arial"_s, -15), small(u"Arial"_s, 12);
    EXPECT_NEAR(cell.height(), 15, 1);
    EXPECT_GT(character.height(), cell.height()); // an em of 15 px needs a taller cell
    EXPECT_LT(small.height(), cell.height());
    EXPECT_EQ(cell.ascent() + cell.descent(), cell.height());
    const plat::Font bold(u"Arial"_s, 15, plat::kFontWeightBold), underline(u"Arial"_s, 15, 400, false, true);
    EXPECT_TRUE(bold.isBold());
    EXPECT_FALSE(cell.isBold());
    EXPECT_TRUE(underline.isUnderline());
    plat::Font copy = bold;
    EXPECT_EQ(copy.textExtent(u"Width"_s), bold.textExtent(u"Width"_s));
}
