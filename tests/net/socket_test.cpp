#include "net/sigpipe.h"
#include "net/socket.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/unanswered_port.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using twtest::HttpReply;
using twtest::HttpServer;
using twtest::IpFamily;

namespace {

using SteadyClock = std::chrono::steady_clock;

std::string ReceiveAll(CWSocket& socket) {
    std::string text;
    char buffer[16384];
    while (const qsizetype received = socket.Receive(buffer, sizeof buffer))
        text.append(buffer, static_cast<std::size_t>(received));
    return text;
}

const std::string kRequest = "GET /page HTTP/1.1\r\nHost: test\r\nConnection: close\r\n\r\n";

void Request(CWSocket& socket, const QString& host, std::uint16_t port) {
    socket.Connect(host, port);
    socket.Send(kRequest.data(), static_cast<qsizetype>(kRequest.size()));
}

// Runs call and returns the code of the CWSocketException it throws (0 when it throws none) and how long
// it took.
template <typename Call> std::pair<int, std::chrono::milliseconds> ErrorOf(Call call) {
    const auto start = SteadyClock::now();
    int code = 0;
    try {
        call();
    } catch (const CWSocketException& error) {
        code = error.GetErrorCode();
    }
    return {code, std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start)};
}

class SocketTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }
};

} // namespace

TEST_F(SocketTest, ExchangesWithEveryFormOfLoopbackHost) {
    HttpServer server4(IpFamily::V4);
    HttpServer server6(IpFamily::V6);
    server4.SetReply("/page", HttpReply::Page("<p>hello</p>"));
    server6.SetReply("/page", HttpReply::Page("<p>hello</p>"));
    // "localhost" is looked up; where it also names ::1 first, the next address must be tried.
    const std::pair<QString, const HttpServer*> hosts[] = {
        {u"127.0.0.1"_s, &server4}, {u"::1"_s, &server6}, {u"[::1]"_s, &server6}, {u"localhost"_s, &server4}};
    for (const auto& [host, server] : hosts) {
        CWSocket socket;
        Request(socket, host, server->Port());
        const std::string reply = ReceiveAll(socket);
        EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK") << host.toStdString();
        EXPECT_EQ(reply.substr(reply.size() - 12), "<p>hello</p>") << host.toStdString();
    }
    EXPECT_EQ(server4.Requests().size(), 2u);
    ASSERT_EQ(server6.Requests().size(), 2u);
    EXPECT_EQ(server6.Requests()[0].raw, kRequest);
}

TEST_F(SocketTest, LargeSendToASlowReaderArrivesWhole) {
    // A small send buffer, a slow reader and a send time-out shorter than the whole transfer force the
    // system to take the data in several partial sends.
    std::promise<std::string> received;
    twtest::LoopbackListener listener(IpFamily::V4, nullptr, [&](twtest::ServerConnection& connection) {
        char buffer[4096];
        std::string data;
        while (const std::size_t count = connection.Read(buffer, sizeof buffer)) {
            data.append(buffer, count);
            connection.Pause(1);
        }
        received.set_value(std::move(data));
    });
    std::string payload(1 << 19, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<char>(i * 7 + i / 251);

    CWSocket socket;
    socket.SetTimeouts(100, 5000);
    socket.Connect(u"127.0.0.1"_s, listener.Port());
    const int small = 4096;
    setsockopt(socket.GetHandle(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    socket.Send(payload.data(), static_cast<qsizetype>(payload.size()));
    socket.Close();

    std::future<std::string> arrived = received.get_future();
    ASSERT_EQ(arrived.wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(arrived.get() == payload);
}

// --- failures carry the system's code and text ---

TEST_F(SocketTest, FailingOperationsThrowTheSystemsCode) {
    const twtest::ClosedPort closed;
    CWSocket socket;
    char buffer[8];
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, closed.Port()); }).first, ECONNREFUSED);
    EXPECT_EQ(socket.GetHandle(), -1);
    EXPECT_EQ(ErrorOf([&] { socket.Receive(buffer, sizeof buffer); }).first, ENOTCONN);
    EXPECT_EQ(ErrorOf([&] { socket.Send("x", 1); }).first, ENOTCONN);
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, 0); }).first, EINVAL);
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, 65536); }).first, EINVAL);
    // An interrupted socket stays stopped: the worker must not start another exchange on it.
    socket.Interrupt();
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, closed.Port()); }).first, ECANCELED);
}

TEST_F(SocketTest, MessagesComeFromTheSystemOrAreEmpty) {
    QString text;
    EXPECT_TRUE(CWSocketException(ECONNREFUSED).GetErrorMessage(text));
    EXPECT_EQ(text, QString::fromLocal8Bit(std::strerror(ECONNREFUSED)));
    EXPECT_FALSE(CWSocketException(987654).GetErrorMessage(text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(SocketErrorText(CWSocketException(987654)), u"error 987654"_s);
    const CWSocketException lookup(EAI_NONAME, CWSocketException::Source::Resolver);
    EXPECT_TRUE(lookup.GetErrorMessage(text));
    EXPECT_EQ(text, QString::fromLocal8Bit(gai_strerror(EAI_NONAME)));
    EXPECT_STREQ(lookup.what(), gai_strerror(EAI_NONAME));
}

// A connect that is never answered ends at the send time-out, or at once when another thread interrupts.
TEST_F(SocketTest, ConnectToAnUnansweringPortTimesOutOrIsInterrupted) {
    const twtest::UnansweredPort unanswered;
    if (unanswered.Port() == 0)
        GTEST_SKIP() << "this system completes every loopback connect";
    for (const bool interrupt : {false, true}) {
        CWSocket socket;
        socket.SetTimeouts(interrupt ? 10000 : 300, 300);
        std::thread stopper([&] {
            std::this_thread::sleep_for(100ms);
            if (interrupt)
                socket.Interrupt();
        });
        const auto [code, took] = ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, unanswered.Port()); });
        stopper.join();
        EXPECT_EQ(code, interrupt ? ECANCELED : ETIMEDOUT);
        EXPECT_GE(took, interrupt ? 90ms : 250ms);
        EXPECT_LT(took, 3000ms);
        EXPECT_EQ(socket.GetHandle(), -1);
    }
}
