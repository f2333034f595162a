#include "core/limits.h"
#include "tests/net/downloader_test_fixture.h"
#include "tests/support/test_certificate.h"

using namespace Qt::StringLiterals;
using dltest::Q;
using twtest::HttpReply;

namespace {

class DownloaderRedirect : public dltest::CrawlerTest {
  protected:
    // Runs a job with the given redirect budget; returns the targets the server saw for it.
    std::vector<std::string> Fetch(const std::string& path, int budget) {
        m_downloader.Release();
        const std::size_t before = m_server.Requests().size();
        m_downloader.m_redirectBudget = budget;
        EXPECT_TRUE(m_downloader.Start(Q(m_server.Url(path))));
        EXPECT_TRUE(dltest::WaitFinished(m_downloader));
        std::vector<std::string> targets;
        for (const auto& request : m_server.Requests())
            targets.push_back(request.target);
        targets.erase(targets.begin(), targets.begin() + std::ptrdiff_t(before));
        return targets;
    }

    twtest::HttpServer m_server;
    CDownloader m_downloader{0, &m_crawler};
};

// Every Location reply and every hop followed use up one of the budget, so a budget of b follows b / 2.
TEST_F(DownloaderRedirect, BudgetFollowsHalfItsValue) {
    for (int i = 1; i <= 6; ++i)
        m_server.SetReply("/r" + std::to_string(i), HttpReply::Redirect(302, "/r" + std::to_string(i + 1)));
    m_server.SetReply("/r7", HttpReply::Page("<p>end</p>"));
    const struct {
        int budget;
        int followed;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {9, 4}, {14, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.budget);
        const std::vector<std::string> targets = Fetch("/r1", c.budget);
        ASSERT_EQ(targets.size(), std::size_t(c.followed + 1));
        EXPECT_EQ(targets.back(), "/r" + std::to_string(c.followed + 1));
        const DownloadResponse response = m_downloader.Response();
        if (c.followed < 6) {
            // The last Location reply is the page.
            EXPECT_TRUE(response.header.startsWith(u"HTTP/1.1 302"_s));
            EXPECT_EQ(response.redirectUrl, Q(m_server.Url("/r" + std::to_string(c.followed + 2))));
        } else {
            EXPECT_EQ(response.body, u"<p>end</p>"_s);
        }
    }
}

TEST_F(DownloaderRedirect, HugeBudgetsStillStopAtTheLimit) {
    m_server.SetReply("/loop", HttpReply::Redirect(302, "/loop"));
    EXPECT_EQ(Fetch("/loop", 1000000).size(), std::size_t(limits::kMaxRedirectsFollowed) + 1);
}

TEST_F(DownloaderRedirect, RelativeLocationsResolveAgainstTheUrlJustFetched) {
    m_server.SetReply("/a/b/start", HttpReply::Redirect(302, "../c/next page"));
    m_server.SetReply("/a/c/next%20page", HttpReply::Redirect(303, "?q=1"));
    m_server.SetReply("/a/c/next%20page?q=1", HttpReply::Page("<p>arrived</p>"));
    EXPECT_EQ(Fetch("/a/b/start", 9),
              (std::vector<std::string>{"/a/b/start", "/a/c/next%20page", "/a/c/next%20page?q=1"}));
    EXPECT_EQ(m_downloader.Response().body, u"<p>arrived</p>"_s);
}

TEST_F(DownloaderRedirect, NextHopIsAGetWithTheRefererAndTheNewCookies) {
    m_server.SetReply("/login",
                      HttpReply::Redirect(302, "/home").Header("Set-Cookie", "session=abc; path=/"));
    m_server.SetReply("/home", HttpReply::Page("<p>welcome</p>"));
    m_downloader.SetPostData(u"user=me"_s);
    m_downloader.m_redirectBudget = 3;
    ASSERT_TRUE(m_downloader.Start(Q(m_server.Url("/login"))));
    ASSERT_TRUE(dltest::WaitFinished(m_downloader));
    const auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].HeaderValue("Cookie"), "");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].body, "");
    EXPECT_EQ(requests[1].HeaderValue("Cookie"), "session=abc;");
    EXPECT_EQ(requests[1].HeaderValue("Referer"), m_server.Url("/login"));
    EXPECT_EQ(m_downloader.Response().body, u"<p>welcome</p>"_s);
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
    Fetch("/plain", 3);
    EXPECT_EQ(m_downloader.Response().body, u"<p>over tls</p>"_s);
    EXPECT_EQ(secure.ServerNames(), std::vector<std::string>{"localhost"});
}

TEST_F(DownloaderRedirect, FailedHopEndsEmptyAndDoesNotLoopOnTheOldHeader) {
    m_server.SetReply("/away", HttpReply::Redirect(302, "/gone"));
    m_server.SetReply("/gone", HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    EXPECT_EQ(Fetch("/away", 9), (std::vector<std::string>{"/away", "/gone"}));
    EXPECT_TRUE(m_downloader.Response().header.isEmpty());
    EXPECT_TRUE(m_downloader.Response().body.isEmpty());
    EXPECT_EQ(m_downloader.Response().status.code, 0) << "the redirect's status is not the page's";
}

// The status handed over is the last hop's: a redirect that ends at an error page is an error.
TEST_F(DownloaderRedirect, StatusIsTheLastHopsAfterRedirects) {
    HttpReply broken = HttpReply::Page("<p>down</p>");
    broken.status = 500;
    broken.reason = "Internal Server Error";
    m_server.SetReply("/moved", HttpReply::Redirect(301, "/broken"));
    m_server.SetReply("/broken", broken);
    EXPECT_EQ(Fetch("/moved", 3), (std::vector<std::string>{"/moved", "/broken"}));
    EXPECT_EQ(m_downloader.Response().status.ErrorText(), u"HTTP error 500 Internal Server Error"_s);
    EXPECT_EQ(m_downloader.Response().body, u"<p>down</p>"_s);
}

} // namespace
