#include "skin/markup_text.h"
#include "tests/skin/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::MarkupFont;
using skin::MarkupRun;
using skin::MarkupTags;
using skin::TokenizeMarkup;

TEST(MarkupText, BoldPairSwitchesFontAndBack) {
    const auto runs = TokenizeMarkup(u"a <b>bold</b> tail"_s, MarkupTags::Title);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0], (MarkupRun{u"a "_s, MarkupFont::Normal, false}));
    EXPECT_EQ(runs[1], (MarkupRun{u"bold"_s, MarkupFont::Bold, false}));
    EXPECT_EQ(runs[2], (MarkupRun{u" tail"_s, MarkupFont::Normal, false}));
}

TEST(MarkupText, TagsMatchIgnoringCase) {
    const auto runs = TokenizeMarkup(u"<B>x</B><U>y</u>"_s, MarkupTags::List);
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0], (MarkupRun{u"x"_s, MarkupFont::Bold, false}));
    EXPECT_EQ(runs[1], (MarkupRun{u"y"_s, MarkupFont::Normal, true}));
}

TEST(MarkupText, UnknownTagsAreDroppedOnly) {
    const auto runs = TokenizeMarkup(u"one<i>two</i>three"_s, MarkupTags::Title);
    QString joined;
    for (const auto& r : runs) {
        joined += r.text;
        EXPECT_EQ(r.font, MarkupFont::Normal);
    }
    EXPECT_EQ(joined, u"onetwothree"_s);
}

TEST(MarkupText, SupOnlyInTitles) {
    const auto title = TokenizeMarkup(u"a<sup>2</sup>"_s, MarkupTags::Title);
    ASSERT_EQ(title.size(), 2);
    EXPECT_EQ(title[1].font, MarkupFont::Sup);
    const auto cell = TokenizeMarkup(u"a<sup>2</sup>"_s, MarkupTags::List);
    ASSERT_EQ(cell.size(), 2);
    EXPECT_EQ(cell[1].font, MarkupFont::Normal);
}

TEST(MarkupText, IncompleteTagsStayAsText) {
    // No ">" after it: plain text.
    auto runs = TokenizeMarkup(u"a < b"_s, MarkupTags::Title);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].text, u"a < b"_s);
    // Among the last three characters: plain text even with a ">".
    runs = TokenizeMarkup(u"x<b>"_s, MarkupTags::Title);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].text, u"x<b>"_s);
    // A lone ">" is text; a "<" with a ">" later swallows everything up to it as one unknown tag.
    runs = TokenizeMarkup(u"3 > 2 <b>and</b> 1 < 2 <i>x"_s, MarkupTags::List);
    QString joined;
    for (const auto& r : runs) {
        joined += r.text;
    }
    EXPECT_EQ(joined, u"3 > 2 and 1 x"_s);
}

TEST(MarkupText, EmptyAndTagOnlyTextsGiveNoRuns) {
    EXPECT_TRUE(TokenizeMarkup(QString(), MarkupTags::Title).isEmpty());
    EXPECT_TRUE(TokenizeMarkup(u"<b></b>"_s, MarkupTags::Title).isEmpty());
}

TEST(MarkupText, TitleMarkupWrapsProductNameAndKeepsTheRest) {
    const QString markup = skin::TitleMarkup(u"Tarnwick 2.0 :: Preferences"_s);
    EXPECT_TRUE(markup.startsWith(u"<b>Tarnwick 2.0</b> <sup>Beta</sup>"_s));
    EXPECT_TRUE(markup.endsWith(u" :: Preferences"_s));
    EXPECT_EQ(skin::TitleMarkup(u"Other"_s), u"Other"_s);
}
