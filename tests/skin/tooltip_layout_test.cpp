#include "platform/font.h"
#include "skin/tooltip_layout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::LayoutTooltip;

TEST(TooltipLayout, ShortTextIsOneLineOfItsOwnWidthAndBreaksOnlyWhereTold) {
    const plat::Font font;
    const auto layout = LayoutTooltip(u"Pause the project"_s, font);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.textWidth, font.textExtent(u"Pause the project"_s).cx);
    EXPECT_EQ(layout.textHeight, font.height());
    EXPECT_TRUE(layout.linkRect.isEmpty());
    // Line breaks end lines; tabs become four blanks.
    const auto broken = LayoutTooltip(u"first\r\nsecond\tcolumn"_s, font);
    ASSERT_EQ(broken.lines.size(), 2u);
    EXPECT_EQ(broken.lines[1].text, u"second    column"_s);
}

TEST(TooltipLayout, SixtyShortWordsWrapAt350Pixels) {
    const plat::Font font;
    QString text;
    for (int i = 0; i < 60; ++i) {
        text += (i ? u" "_s : QString()) + u"word"_s;
    }
    const auto layout = LayoutTooltip(text, font);
    EXPECT_GT(layout.lines.size(), 2u);
    EXPECT_LE(layout.textWidth, 350);
    EXPECT_GT(layout.textWidth, 300);
    QString joined;
    for (const auto& line : layout.lines) {
        EXPECT_LE(font.textExtent(line.text).cx, 350);
        joined += (joined.isEmpty() ? QString() : u" "_s) + line.text;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(layout.textHeight, int(layout.lines.size()) * font.height());
}

TEST(TooltipLayout, LinkRectangleLiesOverTheLinkWords) {
    const plat::Font font;
    QString text = u"Read more"_s;
    for (int i = 0; i < 12; ++i) {
        text += u" about this"_s;
    }
    text += u" at http://example.test/page and later."_s;
    const auto layout = LayoutTooltip(text, font);
    ASSERT_EQ(layout.link.url, u"http://example.test/page"_s);
    ASSERT_FALSE(layout.linkRect.isEmpty());
    const int line = layout.linkRect.top / layout.lineHeight;
    ASSERT_LT(line, int(layout.lines.size()));
    const auto& holder = layout.lines[size_t(line)];
    const qsizetype at = holder.text.indexOf(u"http://"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(layout.linkRect.left, font.textExtent(holder.text.left(at)).cx);
    EXPECT_EQ(layout.linkRect.width(), font.textExtent(layout.link.url).cx);
    EXPECT_GT(line, 0);
}

TEST(TooltipLayout, AWordWiderThanTheLimitStaysWhole) {
    const plat::Font font;
    const QString word(120, u'w');
    const auto layout = LayoutTooltip(u"a "_s + word + u" b"_s, font);
    bool found = false;
    for (const auto& line : layout.lines) {
        found = found || line.text.contains(word);
    }
    EXPECT_TRUE(found);
    EXPECT_GT(layout.textWidth, 350);
}
