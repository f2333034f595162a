#include "core/string_list.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(SplitString, SeparatorSetTrimAndNormalise) {
    const struct {
        QString text, separators;
        bool normalise, trim;
        QStringList expected;
    } rows[] = {
        // empty pieces are skipped
        {u"a;;b"_s, u";"_s, false, false, {u"a"_s, u"b"_s}},
        {u";a;"_s, u";"_s, false, false, {u"a"_s}},
        {u""_s, u";"_s, false, false, {}},
        {u";;;"_s, u";"_s, false, false, {}},
        {u"whole"_s, u";"_s, false, false, {u"whole"_s}},
        // every character of the set separates
        {u"one\r\ntwo\n\nthree\r"_s, u"\r\n"_s, false, false, {u"one"_s, u"two"_s, u"three"_s}},
        {u"x#@#y#@#z"_s, u"#@"_s, false, false, {u"x"_s, u"y"_s, u"z"_s}},
        // trimming drops white space and blank pieces; without it both stay
        {u" a ;\tb\t; ;c"_s, u";"_s, false, true, {u"a"_s, u"b"_s, u"c"_s}},
        {u" a ; "_s, u";"_s, false, false, {u" a "_s, u" "_s}},
        // normalising lowers (any script) and collapses runs of blanks
        {u"Blue   WIDGETS\nÉCOLE  Ünïon"_s, u"\n"_s, true, true, {u"blue widgets"_s, u"école ünïon"_s}},
        {u"  A  B  "_s, u";"_s, true, false, {u" a b "_s}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SplitString(row.text, row.separators, row.normalise, row.trim), row.expected)
            << row.text.toStdString();
    }
}

TEST(JoinStrings, SeparatorOnlyBetweenNeighboursAndTheListSplitsBack) {
    EXPECT_EQ(JoinStrings(QStringList(), u"#@#"_s), QString());
    EXPECT_EQ(JoinStrings({u"a"_s}, u"#@#"_s), u"a"_s);
    EXPECT_EQ(JoinStrings({u"a"_s, u""_s, u"b"_s}, u"#@#"_s), u"a#@##@#b"_s);
    const QStringList words = {u"red"_s, u"green"_s, u"blue ink"_s, u"ünïcode"_s};
    EXPECT_EQ(SplitString(JoinStrings(words, u";"_s), u";"_s, false, false), words);
}

} // namespace
