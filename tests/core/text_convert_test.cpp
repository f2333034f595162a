#include "core/text_convert.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(WideToUtf8, WholeTextPlusTerminatorWithLoneSurrogatesReplaced) {
    const std::pair<QString, QByteArray> rows[] = {
        {QString(), "\0"_ba},
        {u"abc"_s, "abc\0"_ba},
        {u"é€😀"_s, "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\0"_ba},
        {u"a\0b"_s, "a\0b\0"_ba}, // past embedded zeros
        {u"\xDE00x\xD83D"_s, "\xEF\xBF\xBDx\xEF\xBF\xBD\0"_ba},
    };
    for (const auto& [text, utf8] : rows)
        EXPECT_EQ(WideToUtf8(text), utf8) << text.toStdString();
}

TEST(Utf8ToWide, DecodesExactlyTheGivenBytes) {
    const QByteArray data = "abc\0d\xC3\xA9z"_ba;
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData(), 3)), u"abc"_s);
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData(), 7)), u"abc\0dé"_s);
    // Cutting inside a sequence leaves a replacement, not a silently dropped byte.
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData() + 4, 2)), u"d\uFFFD"_s);
    EXPECT_EQ(Utf8ToWide(QByteArrayView()), QString());
}

TEST(Utf8ToWide, InvalidSequencesBecomeReplacementsAndAByteOrderMarkStays) {
    const std::pair<QByteArray, QString> rows[] = {
        {"a\xFF"
         "b"_ba,
         u"a\uFFFDb"_s},
        {"\xC3"_ba, u"\uFFFD"_s},
        {"\xEF\xBB\xBFx"_ba, u"\uFEFFx"_s},
    };
    for (const auto& [utf8, text] : rows)
        EXPECT_EQ(Utf8ToWide(utf8), text) << utf8.toHex().toStdString();
    // Neither an encoded surrogate nor an overlong "/" may come through.
    EXPECT_FALSE(Utf8ToWide("\xED\xA0\x80"_ba).contains(QChar(0xD800)));
    EXPECT_FALSE(Utf8ToWide("\xC0\xAF"_ba).contains(u'/'));
    EXPECT_TRUE(Utf8ToWide("\xC0\xAF"_ba).contains(QChar(QChar::ReplacementCharacter)));
}

// Megabytes (a downloaded page) decode as a few bytes do: the same characters, the same replacements.
TEST(Utf8ToWide, LargeTextsDecodeLikeShortOnes) {
    const QByteArray piece = "ab\xC3\xA9\xF0\x9F\x98\x80\xFFz\r\n"_ba;
    const QString decodedPiece = Utf8ToWide(piece);
    ASSERT_EQ(decodedPiece, u"abé😀\uFFFDz\r\n"_s);
    const qsizetype count = 300000;
    const QByteArray large = piece.repeated(count);
    const QString decoded = Utf8ToWide(large);
    ASSERT_EQ(decoded.size(), decodedPiece.size() * count);
    EXPECT_EQ(decoded, decodedPiece.repeated(count));
}

TEST(TextConvert, RoundTripWithoutTheTerminator) {
    for (const QString& text : {u""_s, u"plain ascii"_s, u"naïve Straße Ελληνικά 中文"_s,
                                u"astral 😀 𝐀 \U0010FFFD"_s, u"\r\n\t<>&"_s}) {
        const QByteArray utf8 = WideToUtf8(text);
        ASSERT_FALSE(utf8.isEmpty());
        EXPECT_EQ(utf8.back(), '\0');
        EXPECT_EQ(Utf8ToWide(QByteArrayView(utf8).chopped(1)), text);
    }
}

} // namespace
