#include "core/text_convert.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

template <size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

TEST(WideToUtf8, CountsTheTerminatingZero) {
    EXPECT_EQ(WideToUtf8(QString()), bytes("\0"));
    EXPECT_EQ(WideToUtf8(s(u"abc")), bytes("abc\0"));
    EXPECT_EQ(WideToUtf8(s(u"é€😀")), bytes("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\0"));
}

TEST(WideToUtf8, ConvertsTheWholeTextPastEmbeddedZeros) {
    QString text = s(u"a");
    text.append(QChar(u'\0')).append(u'b');
    EXPECT_EQ(WideToUtf8(text), bytes("a\0b\0"));
}

TEST(WideToUtf8, LoneSurrogatesBecomeTheReplacementCharacter) {
    QString text;
    text.append(QChar(0xDE00)).append(u'x').append(QChar(0xD83D));
    EXPECT_EQ(WideToUtf8(text), bytes("\xEF\xBF\xBDx\xEF\xBF\xBD\0"));
}

TEST(Utf8ToWide, DecodesExactlyTheGivenBytes) {
    const QByteArray data = bytes("abc\0d\xC3\xA9z");
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData(), 3)), s(u"abc"));
    QString withZero = s(u"abc");
    withZero.append(QChar(u'\0')).append(u"dé");
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData(), 7)), withZero);
    // Cutting inside a sequence leaves a replacement, not a silently dropped byte.
    EXPECT_EQ(Utf8ToWide(QByteArrayView(data.constData() + 4, 2)), s(u"d\uFFFD"));
    EXPECT_EQ(Utf8ToWide(QByteArrayView()), QString());
}

TEST(Utf8ToWide, InvalidSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf8ToWide(bytes("a\xFF"
                               "b")),
              s(u"a\uFFFDb"));
    EXPECT_EQ(Utf8ToWide(bytes("\xC3")), s(u"\uFFFD"));
    EXPECT_FALSE(Utf8ToWide(bytes("\xED\xA0\x80")).contains(QChar(0xD800)));
    EXPECT_FALSE(Utf8ToWide(bytes("\xC0\xAF")).contains(u'/'));
    EXPECT_TRUE(Utf8ToWide(bytes("\xC0\xAF")).contains(QChar(QChar::ReplacementCharacter)));
}

TEST(Utf8ToWide, KeepsALeadingByteOrderMark) {
    const QString expected = QString(QChar(0xFEFF)) + u'x';
    EXPECT_EQ(Utf8ToWide(bytes("\xEF\xBB\xBFx")), expected);
}

TEST(TextConvert, RoundTripWithoutTheTerminator) {
    const std::vector<QString> texts = {s(u""), s(u"plain ascii"), s(u"naïve Straße Ελληνικά 中文"),
                                        s(u"astral 😀 𝐀 \U0010FFFD"), s(u"\r\n\t<>&")};
    for (const QString& text : texts) {
        const QByteArray utf8 = WideToUtf8(text);
        ASSERT_FALSE(utf8.isEmpty());
        EXPECT_EQ(utf8.back(), '\0');
        EXPECT_EQ(Utf8ToWide(QByteArrayView(utf8).chopped(1)), text);
    }
}

} // namespace
