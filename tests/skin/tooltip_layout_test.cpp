#include "platform/font.h"
#include "skin/tooltip_layout.h"
#include "tests/support/test_printers.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::LayoutTooltip;

// Sixty short words wrap at 350 px without losing a word; a word wider than that stays whole.
TEST(TooltipLayout, LongTextWrapsAt350PixelsAndKeepsEveryWord) {
    const plat::Font font;
    const QString word(120, u'w');
    const QString text = u"word "_s.repeated(60) + word;
    const auto layout = LayoutTooltip(text, font);
    QStringList lines;
    for (const auto& line : layout.lines) {
        lines.append(line.text);
        EXPECT_TRUE(font.textExtent(line.text).cx <= 350 || line.text == word);
    }
    EXPECT_EQ(lines.join(u' '), text);
    EXPECT_GT(font.textExtent(lines.first()).cx, 300) << "lines are filled before they break";
    EXPECT_EQ(layout.textWidth, font.textExtent(word).cx);
    EXPECT_EQ(layout.textHeight, int(layout.lines.size()) * font.height());
}

TEST(TooltipLayout, LinkRectangleLiesOverTheLinkOnTheLineItEndsOn) {
    const plat::Font font;
    const QString text =
        u"Read more"_s + u" about this"_s.repeated(12) + u" at http://example.test/page and later."_s;
    const auto layout = LayoutTooltip(text, font);
    ASSERT_EQ(layout.link.url, u"http://example.test/page"_s);
    const int line = layout.linkRect.top / layout.lineHeight;
    ASSERT_GT(line, 0);
    ASSERT_LT(line, int(layout.lines.size()));
    const QString& holder = layout.lines[size_t(line)].text;
    const qsizetype at = holder.indexOf(u"http://"_s);
    ASSERT_GE(at, 0);
    EXPECT_EQ(layout.linkRect.left, font.textExtent(holder.left(at)).cx);
    EXPECT_EQ(layout.linkRect.width(), font.textExtent(layout.link.url).cx);
}

// A tooltip stays on a screen: a word too wide is cut and lines past the last are left out, the last shown
// ending in an ellipsis; a tooltip of megabytes is laid out in a moment.
TEST(TooltipLayout, HugeTextIsCutToWhatAScreenShows) {
    const plat::Font font;
    const QString word(400, u'w');
    const auto cut = LayoutTooltip(u"see "_s + word + u" and more"_s, font);
    ASSERT_EQ(cut.lines.size(), 3u);
    EXPECT_TRUE(word.startsWith(cut.lines[1].text.chopped(1)));
    EXPECT_TRUE(cut.lines[1].text.endsWith(u'\u2026'));
    EXPECT_LE(cut.textWidth, skin::kTooltipWidestLine);

    const QString huge =
        u"blue widgets and red gadgets\r\n"_s.repeated(10) + u"blue widgets "_s.repeated(500000);
    const auto layout = LayoutTooltip(huge, font);
    ASSERT_EQ(layout.lines.size(), size_t(skin::kTooltipMaxLines));
    EXPECT_EQ(layout.lines[9].text, u"blue widgets and red gadgets"_s);
    EXPECT_TRUE(layout.lines.back().text.endsWith(u'\u2026'));
    EXPECT_LE(layout.textWidth, skin::kTooltipMaxTextWidth);
}
