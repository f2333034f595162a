#include "net/sigpipe.h"
#include "net/socket.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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

// A listening socket whose queue is full, so that a further connect waits (the system drops the SYN).
// port stays 0 where the system completes connects all the same.
struct FullListener {
    int fd = -1;
    std::vector<int> queued;
    std::uint16_t port = 0;

    FullListener() {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 0) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        for (int attempt = 0; attempt < 16; ++attempt) {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            queued.push_back(client);
            connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
            pollfd wait{client, POLLOUT, 0};
            if (poll(&wait, 1, 200) == 0) {
                port = ntohs(address.sin_port); // this one hangs: the queue is full
                return;
            }
        }
    }
    ~FullListener() {
        for (int client : queued)
            close(client);
        close(fd);
    }
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

TEST_F(SocketTest, ReceiveReturnsZeroWhenThePeerCloses) {
    HttpServer server;
    server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::CloseAtOnce));
    CWSocket socket;
    Request(socket, u"127.0.0.1"_s, server.Port());
    char buffer[64];
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 0);
}

TEST_F(SocketTest, LargeSendToASlowReaderArrivesWhole) {
    // A small send buffer, a slow reader and a send time-out shorter than the whole transfer force the
    // system to take the data in several partial sends.
    std::string received;
    std::mutex receivedLock;
    twtest::LoopbackListener listener(IpFamily::V4, nullptr, [&](twtest::ServerConnection& connection) {
        char buffer[4096];
        std::string data;
        while (const std::size_t count = connection.Read(buffer, sizeof buffer)) {
            data.append(buffer, count);
            connection.Pause(1);
        }
        std::lock_guard lock(receivedLock);
        received = std::move(data);
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

    for (int wait = 0; wait < 500; ++wait) {
        {
            std::lock_guard lock(receivedLock);
            if (!received.empty())
                break;
        }
        std::this_thread::sleep_for(10ms);
    }
    std::lock_guard lock(receivedLock);
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);
}

TEST_F(SocketTest, ManyThreadsExchangeAtOnce) {
    HttpServer server;
    server.SetReply("/page", HttpReply::Page("<p>shared</p>"));
    constexpr int kThreads = 64;
    constexpr int kRounds = 4;
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            try {
                for (int round = 0; round < kRounds; ++round) {
                    CWSocket socket;
                    Request(socket, u"127.0.0.1"_s, server.Port());
                    good += ReceiveAll(socket).ends_with("\r\n\r\n<p>shared</p>") ? 1 : 0;
                }
            } catch (const CWSocketException&) {
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), kThreads * kRounds);
    EXPECT_EQ(server.ConnectionCount(), kThreads * kRounds);
}

// --- failures carry the system's code and text ---

TEST_F(SocketTest, ClosedPortGivesConnectionRefusedWithTheSystemsText) {
    const twtest::ClosedPort closed;
    CWSocket socket;
    try {
        socket.Connect(u"127.0.0.1"_s, closed.Port());
        FAIL() << "connect to a closed port succeeded";
    } catch (const CWSocketException& error) {
        EXPECT_EQ(error.GetErrorCode(), ECONNREFUSED);
        QString text;
        EXPECT_TRUE(error.GetErrorMessage(text));
        EXPECT_EQ(text, QString::fromLocal8Bit(std::strerror(ECONNREFUSED)));
    }
    EXPECT_EQ(socket.GetHandle(), -1);
}

TEST_F(SocketTest, OperationsWithoutAConnectionThrow) {
    CWSocket socket;
    char buffer[8];
    EXPECT_EQ(ErrorOf([&] { socket.Receive(buffer, sizeof buffer); }).first, ENOTCONN);
    EXPECT_EQ(ErrorOf([&] { socket.Send("x", 1); }).first, ENOTCONN);
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, 0); }).first, EINVAL);
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, 65536); }).first, EINVAL);
    // An interrupted socket stays stopped: the worker must not start another exchange on it.
    const twtest::ClosedPort closed;
    socket.Interrupt();
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, closed.Port()); }).first, ECANCELED);
}

TEST_F(SocketTest, MessagesComeFromTheSystemOrAreEmpty) {
    QString text = u"stale"_s;
    EXPECT_FALSE(CWSocketException(987654).GetErrorMessage(text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(SocketErrorText(CWSocketException(987654)), u"error 987654"_s);
    const CWSocketException lookup(EAI_NONAME, CWSocketException::Source::Resolver);
    EXPECT_TRUE(lookup.GetErrorMessage(text));
    EXPECT_EQ(text, QString::fromLocal8Bit(gai_strerror(EAI_NONAME)));
    EXPECT_STREQ(lookup.what(), gai_strerror(EAI_NONAME));
}

TEST_F(SocketTest, IgnoringBrokenPipeAppliesProcessWide) {
    signal(SIGPIPE, SIG_DFL);
    IgnoreBrokenPipeSignal();
    struct sigaction current {};
    sigaction(SIGPIPE, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_IGN);
}

// A connect that is never answered ends at the send time-out, or at once when another thread interrupts.
TEST_F(SocketTest, ConnectToAnUnansweringPortTimesOutOrIsInterrupted) {
    FullListener listener;
    if (listener.port == 0)
        GTEST_SKIP() << "this system completes every loopback connect";
    for (const bool interrupt : {false, true}) {
        CWSocket socket;
        socket.SetTimeouts(interrupt ? 10000 : 300, 300);
        std::thread stopper([&] {
            std::this_thread::sleep_for(100ms);
            if (interrupt)
                socket.Interrupt();
        });
        const auto [code, took] = ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, listener.port); });
        stopper.join();
        EXPECT_EQ(code, interrupt ? ECANCELED : ETIMEDOUT);
        EXPECT_GE(took, interrupt ? 90ms : 250ms);
        EXPECT_LT(took, 3000ms);
        EXPECT_EQ(socket.GetHandle(), -1);
    }
}
