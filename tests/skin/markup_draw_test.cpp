#include "skin/glow_text_cache.h"
#include "tests/skin/skin_test_support.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using skintest::TestDialog;

TEST(MarkupDraw, BoldRunUsesTheBoldFontAndUnknownTagsDrawNothing) {
    TestDialog dlg;
    plat::DeviceContext dc(600, 40);
    const plat::Size size = dlg.DrawMarkupText(dc, u"Rank <b>Summit</b><i> now"_s, 0, 0, 0);
    const int expected = dlg.m_font.textExtent(u"Rank "_s).cx +
                         dlg.m_fontMarkupBold.textExtent(u"Summit"_s).cx +
                         dlg.m_font.textExtent(u" now"_s).cx;
    EXPECT_EQ(size.cx, expected);
    EXPECT_EQ(size.cy, qMax(dlg.m_font.height(), dlg.m_fontMarkupBold.height()));
    EXPECT_EQ(dlg.MeasureMarkupText(u"Rank <b>Summit</b><i> now"_s), size);
}

TEST(MarkupDraw, UnderlineIsDrawnBelowTheRun) {
    TestDialog dlg;
    plat::DeviceContext dc(200, 40);
    dc.fillSolidRect(plat::Rect{0, 0, 200, 40}, 0xFFFFFF);
    const plat::Size size = dlg.DrawMarkupText(dc, u"<u>link</u>"_s, 5, 5, plat::rgb(0, 0, 255));
    EXPECT_EQ(dc.getPixel(5 + size.cx / 2, 5 + size.cy), plat::rgb(0, 0, 255));
}

TEST(MarkupDraw, ListMarkupStopsAtTheCellsRightEdge) {
    TestDialog dlg;
    plat::DeviceContext dc(300, 30);
    const plat::Size size =
        dlg.DrawListMarkupText(dc, u"<b>A long bold cell text</b> and more plain words"_s, 10, 0, 90, 20, 0);
    EXPECT_LE(size.cx, 80);
    EXPECT_EQ(dc.pixelArgb(120, 10), 0u);
}

TEST(GlowText, TextFarWiderThanAFixedBufferGlowsAlongItsWholeLength) {
    TestDialog dlg;
    const QString text = QString(160, u'W');
    const plat::Size extent = dlg.MeasureMarkupText(text);
    ASSERT_GT(extent.cx, 1000);
    plat::DeviceContext dc(extent.cx + 60, 60);
    const plat::Size drawn = dlg.DrawGlowText(dc, text, 20, 15, 0xFFFFFF, 0x000000, nullptr, nullptr, 1);
    EXPECT_EQ(drawn, extent);
    // The halo shows beyond the last glyph, more than a thousand pixels from the start.
    const std::uint32_t halo = dc.pixelArgb(20 + extent.cx + 3, 15 + extent.cy / 2);
    EXPECT_GT(halo >> 24, 0u);
    // Drawn again from the cache: the same pixels.
    plat::DeviceContext again(extent.cx + 60, 60);
    dlg.DrawGlowText(again, text, 20, 15, 0xFFFFFF, 0x000000, nullptr, nullptr, 1);
    EXPECT_TRUE(again.image() == dc.image());
}

TEST(GlowText, CacheFindsWhatItHoldsAndEmptiesWhenFull) {
    skin::GlowTextCache cache;
    EXPECT_EQ(cache.Find(u"a"_s), nullptr);
    const plat::DeviceContext& a = cache.Insert(u"a"_s, std::make_unique<plat::DeviceContext>(3, 3));
    EXPECT_EQ(cache.Find(u"a"_s), &a);
    for (size_t i = 1; i < skin::GlowTextCache::kMaxEntries; ++i) {
        cache.Insert(QString::number(i), std::make_unique<plat::DeviceContext>(1, 1));
    }
    EXPECT_EQ(cache.Size(), skin::GlowTextCache::kMaxEntries);
    cache.Insert(u"new"_s, std::make_unique<plat::DeviceContext>(1, 1));
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_NE(cache.Find(u"new"_s), nullptr);
}
