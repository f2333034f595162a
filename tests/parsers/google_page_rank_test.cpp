#include "parsers/endpoints.h"
#include "parsers/google_page_rank.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::s;

namespace {

// Reference values from an independent implementation of the published lookup2 hash (a short Python
// script over the UTF-16 code units of each text, initial value 0xE6359A60), run once by hand.
TEST(PageRankChecksum, MatchesTheReferenceHash) {
    EXPECT_EQ(GooglePageRankChecksum(QString()), 3878732344u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:a")), 4203072782u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://www.example.com/")), 540747202u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://example.org/a b")), 2171753553u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://example.net/abcdefghijklmnopqrstuvwxyz0123456789")),
              969751966u);
}

TEST(PageRankChecksum, TailsThatReachTheThirdWord) {
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:abcd")), 2576921458u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:abcde")), 3290514022u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:abcdef")), 1640223782u);
}

TEST(PageRankChecksum, ExactlyOneBlockAndAnEmptyTail) {
    ASSERT_EQ(s(u"info:abcdefg").size(), 12);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:abcdefg")), 1175743173u);
}

TEST(PageRankChecksum, WholeSixteenBitCodesAreAdded) {
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://b\u00fccher.example/")), 1526089935u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://\u4f8b\u3048.jp/")), 273295881u);
    EXPECT_EQ(GooglePageRankChecksum(s(u"info:http://ex.com/\u4f8b\u3048\u4f8b")), 4010216009u);
}

class PageRankRequest : public ::testing::Test {
  protected:
    void TearDown() override { endpoints::resetToDefaults(); }

    static QString urlFor(const QString& page) {
        QString url;
        CDownloader_Parsers::BuildGooglePageRankUrl(url, page);
        return url;
    }
    static QString query(const QString& checksumAndText) {
        return s(u"http://toolbarqueries.google.com/search?client=navclient-auto&ch=6") + checksumAndText;
    }
};

TEST_F(PageRankRequest, QueryTextGoesOutAsItStands) {
    EXPECT_EQ(urlFor(s(u"http://www.example.com/")),
              query(s(u"540747202&features=Rank&q=info:http://www.example.com/")));
}

TEST_F(PageRankRequest, AddressIsCutAtQueryFragmentAndAmpersand) {
    const QString expected = query(s(u"540747202&features=Rank&q=info:http://www.example.com/"));
    EXPECT_EQ(urlFor(s(u"http://www.example.com/?a=1")), expected);
    EXPECT_EQ(urlFor(s(u"http://www.example.com/#top")), expected);
    EXPECT_EQ(urlFor(s(u"http://www.example.com/&x")), expected);
    EXPECT_EQ(urlFor(s(u"abcdefg#x?y")), query(s(u"1175743173&features=Rank&q=info:abcdefg")));
}

TEST_F(PageRankRequest, UnsafeCharactersAreEscapedButTheChecksumSeesTheText) {
    EXPECT_EQ(urlFor(s(u"http://example.org/a b")),
              query(s(u"2171753553&features=Rank&q=info:http://example.org/a%20b")));
    // Already escaped and raw forms of one address ask the same question.
    const QString umlaut = query(s(u"1526089935&features=Rank&q=info:http://b%C3%BCcher.example/"));
    EXPECT_EQ(urlFor(s(u"http://b\u00fccher.example/")), umlaut);
    EXPECT_EQ(urlFor(s(u"http://b%C3%BCcher.example/")), umlaut);
    // A "%" that starts no escape is sent as one.
    EXPECT_TRUE(urlFor(s(u"http://x.example/100%zz")).endsWith(s(u"q=info:http://x.example/100%25zz")));
}

TEST_F(PageRankRequest, LineBreaksCannotReachTheRequestLine) {
    const QString url = urlFor(s(u"http://x.example/\r\nHost: other.example\r\n") + QChar(0) + u'x');
    EXPECT_FALSE(url.contains(u'\r'));
    EXPECT_FALSE(url.contains(u'\n'));
    EXPECT_FALSE(url.contains(u' '));
    EXPECT_FALSE(url.contains(QChar(0)));
    EXPECT_TRUE(url.endsWith(s(u"q=info:http://x.example/%0D%0AHost:%20other.example%0D%0A%00x")));
}

TEST_F(PageRankRequest, GoesToTheToolbarEndpoint) {
    endpoints::set(Endpoint::GoogleToolbar, EndpointBase{s(u"http"), s(u"127.0.0.1"), 8123, s(u"/pr")});
    EXPECT_TRUE(
        urlFor(s(u"a.example")).startsWith(s(u"http://127.0.0.1:8123/pr/search?client=navclient-auto&ch=6")));
}

TEST(PageRankReply, RankIsTheNumberAfterTheSecondColon) {
    using CDownloader_Parsers::ParsePageRank;
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1:4")), 4);
    EXPECT_EQ(ParsePageRank(s(u"\r\n  Rank_1:2:10\r\n")), 10);
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1:0")), 0);
    EXPECT_EQ(ParsePageRank(QString()), -2);
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1:")), -2);
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1:   ")), -2);
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1")), -2);
    EXPECT_EQ(ParsePageRank(s(u"no rank here")), -2);
    EXPECT_EQ(ParsePageRank(s(u"Rank_1:1:x7")), -2);
}

TEST(PageRankReply, OnlyTheFirst200CharactersCount) {
    using CDownloader_Parsers::ParsePageRank;
    EXPECT_EQ(ParsePageRank(QString(197, u'x') + s(u":1:5")), -2);
    EXPECT_EQ(ParsePageRank(QString(195, u'x') + s(u":1:5")), 5);
}

TEST(PageRankReply, ReadFromAFinishedDownloader) {
    auto reply = [](const QByteArray& body) {
        CDownloader downloader(-1);
        downloader.ProcessResponse("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body,
                                   CDownloader::kRequestGet | CDownloader::kKeepText |
                                       CDownloader::kBuildTree,
                                   s(u"http://127.0.0.1/search"));
        return CDownloader_Parsers::ParsePageRank(downloader);
    };
    EXPECT_EQ(reply("Rank_1:1:6\n"), 6);
    EXPECT_EQ(reply(""), -2);
    CDownloader idle(-1);
    EXPECT_EQ(CDownloader_Parsers::ParsePageRank(idle), -2);
}

} // namespace
