#include "skin/glow_text.h"
#include "skin/markup_draw.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Fonts {
    plat::Font normal{u"Arial"_s, 15};
    plat::Font bold{u"Arial"_s, 15, plat::kFontWeightBold};
    plat::Font sup{u"Arial"_s, 12};
    skin::MarkupFonts markup{&normal, &bold, &sup};
};

} // namespace

TEST(MarkupDraw, RunsTakeTheirFontsAndUnknownTagsDrawNothing) {
    Fonts f;
    plat::DeviceContext dc(600, 40);
    const QString text = u"Rank <b>Summit</b><i> now<sup>2</sup>"_s;
    const plat::Size size = skin::DrawMarkup(dc, text, 0, 0, 0, f.markup);
    EXPECT_EQ(size.cx, f.normal.textExtent(u"Rank  now"_s).cx + f.bold.textExtent(u"Summit"_s).cx +
                           f.sup.textExtent(u"2"_s).cx);
    EXPECT_EQ(size.cy, qMax(f.normal.height(), f.bold.height()));
    EXPECT_EQ(skin::MeasureMarkup(text, f.markup), size);
}

// The same underline in both renderers: below the run on a line, through the centred text in a cell; a cell
// draws nothing past its right edge.
TEST(MarkupDraw, LinesAndCells) {
    Fonts f;
    constexpr plat::ColorRef kBlue = plat::Rgb(0, 0, 255);
    plat::DeviceContext dc(300, 100);
    dc.fillSolidRect(plat::Rect{0, 0, 300, 100}, 0xFFFFFF);
    const plat::Size line = skin::DrawMarkup(dc, u"<u>link</u>"_s, 5, 5, kBlue, f.markup);
    EXPECT_EQ(dc.getPixel(5 + line.cx / 2, 5 + line.cy), kBlue);
    const plat::Size cell =
        skin::DrawListMarkup(dc, u"<u>link</u>"_s, plat::Rect{5, 40, 150, 70}, kBlue, f.markup);
    EXPECT_EQ(cell.cx, line.cx);
    EXPECT_EQ(dc.getPixel(5 + cell.cx / 2, 40 + (30 + cell.cy) / 2), kBlue);
    const QString longText = u"<b>A long bold cell text</b> and more plain words"_s;
    EXPECT_EQ(skin::DrawListMarkup(dc, longText, plat::Rect{10, 75, 90, 95}, 0, f.markup).cx, 80);
    EXPECT_EQ(dc.getPixel(120, 85), 0xFFFFFFu);
}

TEST(GlowText, TextFarWiderThanAFixedBufferGlowsAlongItsWholeLengthAndTheCacheRedrawsIt) {
    Fonts f;
    skin::GlowTextCache cache;
    const QString text = QString(160, u'W');
    const plat::Size extent = skin::MeasureMarkup(text, f.markup);
    ASSERT_GT(extent.cx, 1000);
    plat::DeviceContext dc(extent.cx + 60, 60);
    EXPECT_EQ(skin::DrawGlowMarkup(dc, text, 20, 15, 0xFFFFFF, 0x000000, f.markup, 1, cache), extent);
    // The halo shows beyond the last glyph, more than a thousand pixels from the start.
    EXPECT_GT(dc.pixelArgb(20 + extent.cx + 3, 15 + extent.cy / 2) >> 24, 0u);
    plat::DeviceContext again(extent.cx + 60, 60);
    skin::DrawGlowMarkup(again, text, 20, 15, 0xFFFFFF, 0x000000, f.markup, 1, cache);
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_TRUE(again.image() == dc.image());
}

TEST(GlowText, CacheEmptiesWhenFull) {
    skin::GlowTextCache cache;
    for (size_t i = 0; i < skin::GlowTextCache::kMaxEntries; ++i)
        cache.Insert(QString::number(i), std::make_unique<plat::DeviceContext>(1, 1));
    EXPECT_NE(cache.Find(u"0"_s), nullptr);
    cache.Insert(u"new"_s, std::make_unique<plat::DeviceContext>(1, 1));
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_NE(cache.Find(u"new"_s), nullptr);
}
