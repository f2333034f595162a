#include "core/text_convert.h"
#include "net/utf8_writer.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// Text of every kind the encoder meets: ASCII, two- and three-byte characters, pairs, surrogates alone, 0.
QString RandomText(std::mt19937& random, int length) {
    static const char16_t kPieces[] = {
        u'a', u' ', u'\0', u'\u00e9', u'\u20ac', char16_t(0xD83D), char16_t(0xDE00), u'\ufffd'};
    std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(kPieces[pick(random)]));
    return text;
}

// Appended in pieces cut anywhere (a pair cut in two included), with runs of blanks between some, the
// bytes are those of encoding the whole text at once; handed on in small chunks, they arrive the same.
TEST(Utf8Writer, PiecesEncodeAsTheWholeTextWhereverTheyAreCut) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        const QString text = RandomText(random, round % 40);
        std::uniform_int_distribution<qsizetype> cut(0, text.size());
        qsizetype a = cut(random), b = cut(random);
        if (a > b)
            std::swap(a, b);
        const qsizetype blanks = round % 3 == 0 ? round % 5 : 0;
        const QString whole = text.first(a) + QString(blanks, u' ') + text.sliced(a);
        QByteArray chunks;
        Utf8Writer direct, handedOn(
                               [&chunks](QByteArrayView bytes) {
                                   chunks.append(bytes);
                                   return true;
                               },
                               3);
        for (Utf8Writer* out : {&direct, &handedOn}) {
            out->Append(QStringView(text).first(a));
            out->AppendSpaces(blanks);
            out->Append(QStringView(text).sliced(a, b - a));
            out->Append(QStringView(text).sliced(b));
        }
        QByteArray expected = WideToUtf8(whole);
        expected.chop(1); // WideToUtf8 ends with the saved files' 0x00
        EXPECT_EQ(direct.Finish(), expected) << round;
        EXPECT_TRUE(handedOn.Finish().isEmpty());
        EXPECT_EQ(chunks, expected) << round;
    }
}

TEST(Utf8Writer, ARefusingSinkIsReported) {
    Utf8Writer out([](QByteArrayView) { return false; }, 4);
    out.Append(QStringLiteral("more than four bytes"));
    out.Append(QStringLiteral("and more"));
    out.Finish();
    EXPECT_FALSE(out.Ok());
}

} // namespace
