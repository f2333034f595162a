#include "skin/markup_text.h"
#include "tests/support/test_printers.h"

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
    const MarkupFont n = MarkupFont::Normal, b = MarkupFont::Bold;
    struct Case {
        QString text;
        MarkupTags tags;
        QList<MarkupRun> runs;
        const char* note;
    };
    const Case cases[] = {
        {u"a <b>bold</b> tail"_s,
         MarkupTags::Title,
         {{u"a "_s, n, false}, {u"bold"_s, b, false}, {u" tail"_s, n, false}},
         "bold switches the font and back"},
        {u"<B>x</B><U>y</u>"_s,
         MarkupTags::List,
         {{u"x"_s, b, false}, {u"y"_s, n, true}},
         "tags ignore case"},
        {u"a<sup>2</sup>"_s,
         MarkupTags::Title,
         {{u"a"_s, n, false}, {u"2"_s, MarkupFont::Sup, false}},
         "sup in titles"},
        {u"a<sup>2</sup>"_s, MarkupTags::List, {{u"a"_s, n, false}, {u"2"_s, n, false}}, "no sup in cells"},
        {u"a < b"_s, MarkupTags::Title, {{u"a < b"_s, n, false}}, "no closing bracket: text"},
        {u"x<b>"_s,
         MarkupTags::Title,
         {{u"x<b>"_s, n, false}},
         "a tag among the last three characters is text"},
        {u"one<i>two</i>three"_s,
         MarkupTags::Title,
         {{u"one"_s, n, false}, {u"two"_s, n, false}, {u"three"_s, n, false}},
         "unknown tags are dropped only"},
        {u"3 > 2 <b>and</b> 1 < 2 <i>x"_s,
         MarkupTags::List,
         {{u"3 > 2 "_s, n, false}, {u"and"_s, b, false}, {u" 1 "_s, n, false}, {u"x"_s, n, false}},
         "a lone > is text; a < swallows all up to the next > as one unknown tag"},
        {QString(), MarkupTags::Title, {}, "empty"},
        {u"<b></b>"_s, MarkupTags::Title, {}, "tags only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(TokenizeMarkup(c.text, c.tags), c.runs);
    }
}
