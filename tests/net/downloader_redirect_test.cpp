#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/test_certificate.h"

using namespace Qt::StringLiterals;
using dltest::q;
using twtest::HttpReply;

namespace {

class DownloaderRedirect : public dltest::CrawlerTest {
  protected:
    void fetch(const std::string& path, int budget) {
        m_downloader.m_redirectBudget = budget;
        ASSERT_TRUE(m_downloader.Start(q(m_server.Url(path))));
        ASSERT_TRUE(dltest::waitFinished(m_downloader));
    }

    std::vector<std::string> targets() const {
        std::vector<std::string> out;
        for (const auto& request : m_server.Requests())
            out.push_back(request.target);
        return out;
    }

    twtest::HttpServer m_server;
    CDownloader m_downloader{0, &m_crawler};
};

TEST_F(DownloaderRedirect, BudgetNineFollowsFourOfSixRedirects) {
    for (int i = 1; i <= 6; ++i)
        m_server.SetReply("/r" + std::to_string(i), HttpReply::Redirect(302, "/r" + std::to_string(i + 1)));
    m_server.SetReply("/r7", HttpReply::Page("<p>end</p>"));
    fetch("/r1", 9);
    EXPECT_EQ(targets(), (std::vector<std::string>{"/r1", "/r2", "/r3", "/r4", "/r5"}));
    // The fifth Location reply is the page.
    EXPECT_EQ(m_downloader.m_redirectUrl, q(m_server.Url("/r6")));
    EXPECT_TRUE(m_downloader.m_header.startsWith(u"HTTP/1.1 302"_s));
}

TEST_F(DownloaderRedirect, DefaultBudgetFollowsNone) {
    m_server.SetReply("/from", HttpReply::Redirect(301, "/to"));
    fetch("/from", 0);
    EXPECT_EQ(targets(), std::vector<std::string>{"/from"});
    EXPECT_EQ(m_downloader.m_redirectUrl, q(m_server.Url("/to")));
}

TEST_F(DownloaderRedirect, HugeBudgetsStillStopAtTheLimit) {
    m_server.SetReply("/loop", HttpReply::Redirect(302, "/loop"));
    fetch("/loop", 1000000);
    EXPECT_EQ(m_server.Requests().size(), std::size_t(limits::kMaxRedirectsFollowed) + 1);
}

TEST_F(DownloaderRedirect, RelativeLocationsResolveAgainstTheUrlJustFetched) {
    m_server.SetReply("/a/b/start", HttpReply::Redirect(302, "../c/next page"));
    m_server.SetReply("/a/c/next%20page", HttpReply::Redirect(303, "?q=1"));
    m_server.SetReply("/a/c/next%20page?q=1", HttpReply::Page("<p>arrived</p>"));
    fetch("/a/b/start", 9);
    EXPECT_EQ(targets(),
              (std::vector<std::string>{"/a/b/start", "/a/c/next%20page", "/a/c/next%20page?q=1"}));
    EXPECT_EQ(m_downloader.m_body, u"<p>arrived</p>"_s);
}

TEST_F(DownloaderRedirect, NextHopIsAGetWithTheRefererAndTheNewCookies) {
    m_server.SetReply("/login",
                      HttpReply::Redirect(302, "/home").Header("Set-Cookie", "session=abc; path=/"));
    m_server.SetReply("/home", HttpReply::Page("<p>welcome</p>"));
    m_downloader.SetPostData(u"user=me"_s);
    fetch("/login", 3);
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].HeaderValue("Cookie"), "");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].body, "");
    EXPECT_EQ(requests[1].HeaderValue("Cookie"), "session=abc;");
    EXPECT_EQ(requests[1].HeaderValue("Referer"), m_server.Url("/login"));
    EXPECT_EQ(m_downloader.m_body, u"<p>welcome</p>"_s);
}

TEST_F(DownloaderRedirect, PlainPageMayRedirectToTls) {
    twtest::TestCertificate certificate;
    twtest::HttpServer secure(twtest::IpFamily::V4, &certificate);
    secure.SetReply("/safe", HttpReply::Page("<p>over tls</p>"));
    CSSLContext context;
    QString error;
    ASSERT_TRUE(context.CreateClient(QByteArray::fromStdString(certificate.Pem()), error));
    m_crawler.m_sslContext = &context;

    m_server.SetReply("/plain", HttpReply::Redirect(301, secure.Url("/safe", "localhost")));
    fetch("/plain", 3);
    EXPECT_EQ(m_downloader.m_body, u"<p>over tls</p>"_s);
    ASSERT_EQ(secure.Requests().size(), 1u);
    EXPECT_EQ(secure.ServerNames(), std::vector<std::string>{"localhost"});
}

TEST_F(DownloaderRedirect, FailedHopEndsEmptyAndDoesNotLoopOnTheOldHeader) {
    m_server.SetReply("/away", HttpReply::Redirect(302, "/gone"));
    m_server.SetReply("/gone", HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    fetch("/away", 9);
    EXPECT_EQ(targets(), (std::vector<std::string>{"/away", "/gone"}));
    EXPECT_TRUE(m_downloader.m_header.isEmpty());
    EXPECT_TRUE(m_downloader.m_body.isEmpty());
}

} // namespace
