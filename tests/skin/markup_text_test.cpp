#include "skin/markup_text.h"
#include "tests/skin/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::MarkupFont;
using skin::MarkupRun;
using skin::MarkupTags;
using skin::TokenizeMarkup;

inline void PrintTo(const MarkupRun& r, std::ostream* os) {
    *os << '{' << r.text.toStdString() << ' ' << int(r.font) << ' ' << r.underline << '}';
}

TEST(MarkupText, TokenizesIntoStyledRuns) {
    const MarkupFont N = MarkupFont::Normal, B = MarkupFont::Bold;
    struct Case {
        QString text;
        MarkupTags tags;
        QList<MarkupRun> runs;
        const char* note;
    };
    const Case cases[] = {
        {u"a <b>bold</b> tail"_s,
         MarkupTags::Title,
         {{u"a "_s, N, false}, {u"bold"_s, B, false}, {u" tail"_s, N, false}},
         "bold switches the font and back"},
        {u"<B>x</B><U>y</u>"_s,
         MarkupTags::List,
         {{u"x"_s, B, false}, {u"y"_s, N, true}},
         "tags ignore case"},
        {u"a<sup>2</sup>"_s,
         MarkupTags::Title,
         {{u"a"_s, N, false}, {u"2"_s, MarkupFont::Sup, false}},
         "sup in titles"},
        {u"a<sup>2</sup>"_s, MarkupTags::List, {{u"a"_s, N, false}, {u"2"_s, N, false}}, "no sup in cells"},
        {u"a < b"_s, MarkupTags::Title, {{u"a < b"_s, N, false}}, "no closing bracket: text"},
        {u"x<b>"_s,
         MarkupTags::Title,
         {{u"x<b>"_s, N, false}},
         "a tag among the last three characters is text"},
        {u"one<i>two</i>three"_s,
         MarkupTags::Title,
         {{u"one"_s, N, false}, {u"two"_s, N, false}, {u"three"_s, N, false}},
         "unknown tags are dropped only"},
        {u"3 > 2 <b>and</b> 1 < 2 <i>x"_s,
         MarkupTags::List,
         {{u"3 > 2 "_s, N, false}, {u"and"_s, B, false}, {u" 1 "_s, N, false}, {u"x"_s, N, false}},
         "a lone > is text; a < swallows all up to the next > as one unknown tag"},
        {QString(), MarkupTags::Title, {}, "empty"},
        {u"<b></b>"_s, MarkupTags::Title, {}, "tags only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(TokenizeMarkup(c.text, c.tags), c.runs);
    }
}
