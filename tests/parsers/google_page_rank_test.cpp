#include "parsers/endpoints.h"
#include "parsers/google_page_rank.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Reference values from an independent implementation of the published lookup2 hash (a short Python
// script over the UTF-16 code units of each text, initial value 0xE6359A60), run once by hand. The texts
// cover tails that reach the third word, exactly one 12-unit block with an empty tail, and whole 16-bit
// codes beyond Latin-1.
TEST(PageRankChecksum, MatchesTheReferenceHash) {
    const std::pair<QString, quint32> rows[] = {
        {QString(), 3878732344u},
        {u"info:a"_s, 4203072782u},
        {u"info:http://www.example.com/"_s, 540747202u},
        {u"info:http://example.org/a b"_s, 2171753553u},
        {u"info:http://example.net/abcdefghijklmnopqrstuvwxyz0123456789"_s, 969751966u},
        {u"info:abcd"_s, 2576921458u},
        {u"info:abcde"_s, 3290514022u},
        {u"info:abcdef"_s, 1640223782u},
        {u"info:abcdefg"_s, 1175743173u},
        {u"info:http://b\u00fccher.example/"_s, 1526089935u},
        {u"info:http://\u4f8b\u3048.jp/"_s, 273295881u},
        {u"info:http://ex.com/\u4f8b\u3048\u4f8b"_s, 4010216009u},
    };
    for (const auto& [text, checksum] : rows)
        EXPECT_EQ(GooglePageRankChecksum(text), checksum) << text.toStdString();
}

class PageRankRequest : public ::testing::Test {
  protected:
    void TearDown() override { endpoints::ResetToDefaults(); }

    static QString UrlFor(const QString& page) {
        QString url;
        CDownloader_Parsers::BuildGooglePageRankUrl(url, page);
        return url;
    }
    static QString Query(const QString& checksumAndText) {
        return u"http://toolbarqueries.google.com/search?client=navclient-auto&ch=6"_s + checksumAndText;
    }
};

// The address is cut at query, fragment and "&"; unsafe characters are escaped (already escaped and raw
// forms ask the same question) while the checksum is computed on the text; line breaks and NUL cannot
// reach the request line.
TEST_F(PageRankRequest, QueryIsCutEscapedAndCarriesTheChecksumOfTheText) {
    const std::pair<QString, QString> rows[] = {
        {u"http://www.example.com/"_s, u"540747202&features=Rank&q=info:http://www.example.com/"_s},
        {u"http://www.example.com/?a=1"_s, u"540747202&features=Rank&q=info:http://www.example.com/"_s},
        {u"http://www.example.com/#top"_s, u"540747202&features=Rank&q=info:http://www.example.com/"_s},
        {u"http://www.example.com/&x"_s, u"540747202&features=Rank&q=info:http://www.example.com/"_s},
        {u"abcdefg#x?y"_s, u"1175743173&features=Rank&q=info:abcdefg"_s},
        {u"http://example.org/a b"_s, u"2171753553&features=Rank&q=info:http://example.org/a%20b"_s},
        {u"http://b\u00fccher.example/"_s, u"1526089935&features=Rank&q=info:http://b%C3%BCcher.example/"_s},
        {u"http://b%C3%BCcher.example/"_s, u"1526089935&features=Rank&q=info:http://b%C3%BCcher.example/"_s},
    };
    for (const auto& [page, tail] : rows)
        EXPECT_EQ(UrlFor(page), Query(tail)) << page.toStdString();
    // A "%" that starts no escape is sent as one.
    EXPECT_TRUE(UrlFor(u"http://x.example/100%zz"_s).endsWith(u"q=info:http://x.example/100%25zz"_s));
    EXPECT_TRUE(UrlFor(u"http://x.example/\r\nHost: other.example\r\n\0x"_s)
                    .endsWith(u"q=info:http://x.example/%0D%0AHost:%20other.example%0D%0A%00x"_s));
}

// The rank is the number after the second colon, within the first 200 characters.
TEST(PageRankReply, RankIsTheNumberAfterTheSecondColon) {
    const std::pair<QString, int> rows[] = {
        {u"Rank_1:1:4"_s, 4},
        {u"\r\n  Rank_1:2:10\r\n"_s, 10},
        {u"Rank_1:1:0"_s, 0},
        {QString(), -2},
        {u"Rank_1:1:"_s, -2},
        {u"Rank_1:1:   "_s, -2},
        {u"Rank_1:1"_s, -2},
        {u"no rank here"_s, -2},
        {u"Rank_1:1:x7"_s, -2},
        {QString(197, u'x') + u":1:5"_s, -2},
        {QString(195, u'x') + u":1:5"_s, 5},
    };
    for (const auto& [reply, rank] : rows)
        EXPECT_EQ(CDownloader_Parsers::ParsePageRank(reply), rank) << reply.toStdString();
}

TEST(PageRankReply, ReadFromAFinishedDownloader) {
    EXPECT_EQ(CDownloader_Parsers::ParsePageRank(*parser_test::DownloadedPage("Rank_1:1:6\n")), 6);
    EXPECT_EQ(CDownloader_Parsers::ParsePageRank(*parser_test::DownloadedPage("")), -2);
    CDownloader idle(-1);
    EXPECT_EQ(CDownloader_Parsers::ParsePageRank(idle), -2);
}

} // namespace
