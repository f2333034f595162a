#include "core/string_list.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>

namespace {

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

QStringList list(std::initializer_list<const char16_t*> items) {
    QStringList out;
    for (const char16_t* item : items)
        out.append(s(item));
    return out;
}

TEST(SplitString, EmptyPiecesAreSkipped) {
    EXPECT_EQ(SplitString(s(u"a;;b"), s(u";"), false, false), list({u"a", u"b"}));
    EXPECT_EQ(SplitString(s(u";a;"), s(u";"), false, false), list({u"a"}));
    EXPECT_EQ(SplitString(s(u""), s(u";"), false, false), QStringList());
    EXPECT_EQ(SplitString(s(u";;;"), s(u";"), false, false), QStringList());
    EXPECT_EQ(SplitString(s(u"whole"), s(u";"), false, false), list({u"whole"}));
}

TEST(SplitString, EveryCharacterOfTheSetSeparates) {
    EXPECT_EQ(SplitString(s(u"one\r\ntwo\n\nthree\r"), s(u"\r\n"), false, false),
              list({u"one", u"two", u"three"}));
    EXPECT_EQ(SplitString(s(u"x#@#y#@#z"), s(u"#@"), false, false), list({u"x", u"y", u"z"}));
}

TEST(SplitString, TrimDropsWhiteSpaceAndBlankPieces) {
    EXPECT_EQ(SplitString(s(u" a ;\tb\t; ;c"), s(u";"), false, true), list({u"a", u"b", u"c"}));
    EXPECT_EQ(SplitString(s(u" a ; "), s(u";"), false, false), list({u" a ", u" "}));
}

TEST(SplitString, NormaliseLowersAndCollapsesBlanks) {
    EXPECT_EQ(SplitString(s(u"Blue   WIDGETS\nÉCOLE  Ünïon"), s(u"\n"), true, true),
              list({u"blue widgets", u"école ünïon"}));
    EXPECT_EQ(SplitString(s(u"  A  B  "), s(u";"), true, false), list({u" a b "}));
}

TEST(JoinStrings, SeparatorOnlyBetweenNeighbours) {
    EXPECT_EQ(JoinStrings(QStringList(), s(u"#@#")), QString());
    EXPECT_EQ(JoinStrings(list({u"a"}), s(u"#@#")), s(u"a"));
    EXPECT_EQ(JoinStrings(list({u"a", u"", u"b"}), s(u"#@#")), s(u"a#@##@#b"));
}

TEST(SplitAndJoin, JoinedListSplitsBack) {
    const QStringList words = list({u"red", u"green", u"blue ink", u"ünïcode"});
    EXPECT_EQ(SplitString(JoinStrings(words, s(u";")), s(u";"), false, false), words);
}

} // namespace
