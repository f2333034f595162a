#include "core/base64.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The encoding of the text's UTF-8 bytes, with the padding each remainder needs, decodes back to the text.
TEST(Base64, RoundTripsTextAsUtf8WithPadding) {
    const std::pair<QString, QString> rows[] = {
        {u""_s, u""_s},
        {u"f"_s, u"Zg=="_s},
        {u"fo"_s, u"Zm8="_s},
        {u"foo"_s, u"Zm9v"_s},
        {u"\u00e4"_s, u"w6Q="_s},
        {u"\u20ac \u6771\u4eac \U0001F600"_s, u"4oKsIOadseS6rCDwn5iA"_s},
        {u"\u00fb\u00ff\u00fe?>"_s, u"w7vDv8O+Pz4="_s}, // the alphabet's "+" among the output
    };
    for (const auto& [text, encoded] : rows) {
        EXPECT_EQ(Base64Encode(text), encoded);
        EXPECT_EQ(Base64Decode(encoded), text);
    }
    const QString allBytes = [] {
        QString text;
        for (char16_t c = 1; c < 0x800; c += 3)
            text.append(QChar(c));
        return text;
    }();
    EXPECT_EQ(Base64Decode(Base64Encode(allBytes)), allBytes);
}

// Anything that is not base64 of the standard alphabet gives empty text, whatever its length.
TEST(Base64, JunkDecodesToNothing) {
    for (const QString& junk :
         {u"Zm9v!"_s, u"Zm9v\r\nYmFy"_s, u"Zm 9v"_s, u"Zm=v"_s, u"Zg==Zg=="_s, u"Z-9v"_s, u"Z_9v"_s,
          u"Zm9v\u00e4"_s, u"\u6771\u4eac"_s, u"===="_s, QString(100000, u'%')})
        EXPECT_EQ(Base64Decode(junk), QString()) << junk.left(20).toStdString();
    // Bytes that are no UTF-8 read as replacement characters rather than being lost.
    EXPECT_EQ(Base64Decode(u"/w=="_s), u"\ufffd"_s);
}

} // namespace
