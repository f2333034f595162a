#include "net/internet_session.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
using twtest::HttpReply;

namespace {

// Records what the callback is told, and the texts it makes of it.
class RecordingSession : public CProjectCrawler_InternetSession {
  public:
    RecordingSession() {
        SetStatusTextSink([this](const QString& text) { texts.append(text); });
    }

    std::vector<std::pair<std::uintptr_t, int>> statuses;
    QStringList texts;

  protected:
    void OnStatusCallback(std::uintptr_t context, int status, const QString& info) override {
        statuses.emplace_back(context, status);
        CProjectCrawler_InternetSession::OnStatusCallback(context, status, info);
    }
};

QStringList OneExchange() {
    return {u"Resolving name 127.0.0.1"_s,
            u"Name resolved 127.0.0.1"_s,
            u"Connecting to socket address"_s,
            u"Connected to socket address"_s,
            u"Sending request"_s,
            u"Request sent"_s,
            u"Response received"_s,
            u"Closing the connection to the server"_s,
            u"Connection to the server closed"_s};
}

// A request through the session that is redirected once: each step of both exchanges raises its status
// with the session's context, in the order it happens; receiving and closing the handle give no text.
TEST(InternetSession, AnExchangeWithARedirectReportsEachStepInOrder) {
    twtest::HttpServer server;
    server.SetReply("/start", HttpReply::Redirect(302, "/final?x=1"));
    HttpReply page = HttpReply::Page("the final page");
    page.framing = HttpReply::Framing::Chunked;
    page.chunkSize = 4;
    server.SetReply("/final?x=1", page);

    RecordingSession session;
    const auto response = session.OpenUrl(QString::fromStdString(server.Url("/start")));
    EXPECT_EQ(response.error, QString());
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.url, QString::fromStdString(server.Url("/final?x=1")));
    EXPECT_EQ(response.body, QByteArray("the final page"));

    const QStringList expected = QStringList{u"Handle created"_s} + OneExchange() +
                                 QStringList{u"Being redirected"_s} + OneExchange() +
                                 QStringList{u"Request complete"_s};
    EXPECT_EQ(session.texts, expected);
    // Receiving (40) and closing the handle (70, last) are raised too, with no text.
    ASSERT_EQ(session.statuses.size(), size_t(expected.size() + 3));
    EXPECT_EQ(
        std::count(session.statuses.begin(), session.statuses.end(), std::pair<std::uintptr_t, int>(1, 40)),
        2);
    EXPECT_EQ(session.statuses.back(), (std::pair<std::uintptr_t, int>(1, 70)));
    for (const auto& [context, status] : session.statuses)
        EXPECT_EQ(context, 1u) << status;

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/final?x=1");
    for (const auto& request : requests)
        EXPECT_EQ(request.HeaderValue("User-Agent"), "Tarnwick 2.0");

    session.EnableStatusCallback(false);
    session.texts.clear();
    session.OpenUrl(QString::fromStdString(server.Url("/final?x=1")));
    EXPECT_TRUE(session.texts.isEmpty());
    EXPECT_EQ(CProjectCrawler_InternetSession::StatusText(72, {}), u"Unknown status: 72"_s);
}

// A refused connect is tried once more after the one-second back-off, then the request ends with the reason.
TEST(InternetSession, ARefusedConnectIsRetriedOnceAfterTheBackoff) {
    const twtest::ClosedPort closed;
    RecordingSession session;
    const auto started = std::chrono::steady_clock::now();
    const auto response = session.OpenUrl(u"http://127.0.0.1:%1/"_s.arg(closed.Port()));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_TRUE(response.error.startsWith(u"Connect error: "_s)) << response.error.toStdString();
    EXPECT_EQ(response.status, 0);
    const QStringList attempt = {u"Resolving name 127.0.0.1"_s, u"Name resolved 127.0.0.1"_s,
                                 u"Connecting to socket address"_s};
    EXPECT_EQ(session.texts,
              QStringList{u"Handle created"_s} + attempt + attempt + QStringList{u"Request complete"_s});
}

} // namespace
