#include "net/http_response.h"
#include "net/sigpipe.h"
#include "net/socket.h"
#include "tests/support/closed_port.h"
#include "tests/support/compression.h"
#include "tests/support/http_server.h"
#include "tests/support/loopback_listener.h"
#include "tests/support/whois_server.h"

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

QString SystemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

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

class SocketFamilyTest : public SocketTest, public ::testing::WithParamInterface<IpFamily> {};

} // namespace

// --- the exchange itself ---

TEST_P(SocketFamilyTest, ExchangesBytesWithALoopbackServer) {
    HttpServer server(GetParam());
    server.SetReply("/page", HttpReply::Page("<p>hello</p>"));
    CWSocket socket;
    Request(socket, GetParam() == IpFamily::V4 ? u"127.0.0.1"_s : u"::1"_s, server.Port());
    const std::string reply = ReceiveAll(socket);

    EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_EQ(reply.substr(reply.size() - 12), "<p>hello</p>");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].raw, kRequest);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, SocketFamilyTest, ::testing::Values(IpFamily::V4, IpFamily::V6),
                         [](const auto& info) { return info.param == IpFamily::V4 ? "IPv4" : "IPv6"; });

TEST_F(SocketTest, AcceptsBracketedIpv6AndLocalhost) {
    HttpServer server6(IpFamily::V6);
    HttpServer server4(IpFamily::V4);
    CWSocket socket;
    Request(socket, u"[::1]"_s, server6.Port());
    EXPECT_EQ(ReceiveAll(socket).substr(0, 12), "HTTP/1.1 404");

    // "localhost" is looked up; where it also names ::1 first, the next address must be tried.
    Request(socket, u"localhost"_s, server4.Port());
    EXPECT_EQ(ReceiveAll(socket).substr(0, 12), "HTTP/1.1 404");
    EXPECT_EQ(server6.Requests().size(), 1u);
    EXPECT_EQ(server4.Requests().size(), 1u);
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
        EXPECT_EQ(text, SystemText(ECONNREFUSED));
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
}

TEST_F(SocketTest, MessagesComeFromTheSystemOrAreEmpty) {
    QString text = u"stale"_s;
    EXPECT_FALSE(CWSocketException(987654).GetErrorMessage(text));
    EXPECT_TRUE(text.isEmpty());
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

// --- time-outs and interruption ---

TEST_F(SocketTest, StalledServerEndsTheReceiveWithATimeOut) {
    HttpServer server;
    server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::Stall));
    CWSocket socket;
    socket.SetTimeouts(2000, 300);
    Request(socket, u"127.0.0.1"_s, server.Port());
    char buffer[64];
    const auto [code, took] = ErrorOf([&] { socket.Receive(buffer, sizeof buffer); });
    EXPECT_EQ(code, ETIMEDOUT);
    EXPECT_GE(took, 250ms);
    EXPECT_LT(took, 3000ms);
}

TEST_F(SocketTest, InterruptFromAnotherThreadEndsABlockedReceive) {
    HttpServer server;
    server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::Stall));
    CWSocket socket;
    Request(socket, u"127.0.0.1"_s, server.Port());
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        socket.Interrupt();
    });
    char buffer[64];
    const auto [code, took] = ErrorOf([&] { socket.Receive(buffer, sizeof buffer); });
    stopper.join();
    EXPECT_EQ(code, ECANCELED);
    EXPECT_LT(took, 2000ms) << "the receive time-out is 10 s; the interrupt must not wait for it";
    // An interrupted socket stays stopped: the worker must not start another exchange on it.
    EXPECT_EQ(ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, server.Port()); }).first, ECANCELED);
}

namespace {

// A listening socket whose queue is full, so that a further connect waits (the system drops the SYN).
// Returns -1 where the system completes connects all the same.
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
        port = ntohs(address.sin_port);
        for (int attempt = 0; attempt < 16; ++attempt) {
            const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            queued.push_back(client);
            connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
            pollfd wait{client, POLLOUT, 0};
            if (poll(&wait, 1, 200) == 0)
                return; // this one hangs: the queue is full
        }
        port = 0;
    }
    ~FullListener() {
        for (int client : queued)
            close(client);
        close(fd);
    }
};

} // namespace

TEST_F(SocketTest, ConnectToAnUnansweringPortTimesOut) {
    FullListener listener;
    if (listener.port == 0)
        GTEST_SKIP() << "this system completes every loopback connect";
    CWSocket socket;
    socket.SetTimeouts(300, 300);
    const auto [code, took] = ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, listener.port); });
    EXPECT_EQ(code, ETIMEDOUT);
    EXPECT_GE(took, 250ms);
    EXPECT_LT(took, 3000ms);
}

TEST_F(SocketTest, InterruptFromAnotherThreadEndsABlockedConnect) {
    FullListener listener;
    if (listener.port == 0)
        GTEST_SKIP() << "this system completes every loopback connect";
    CWSocket socket;
    socket.SetTimeouts(10000, 10000);
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        socket.Interrupt();
    });
    const auto [code, took] = ErrorOf([&] { socket.Connect(u"127.0.0.1"_s, listener.port); });
    stopper.join();
    EXPECT_EQ(code, ECANCELED);
    EXPECT_LT(took, 2000ms);
    EXPECT_EQ(socket.GetHandle(), -1);
}

// --- the reply shapes the download tests build on, as they cross the wire ---

namespace {

struct Fetched {
    std::string head; // up to and including the blank line
    std::string body;
};

Fetched Fetch(const HttpServer& server, const std::string& request) {
    CWSocket socket;
    socket.Connect(u"127.0.0.1"_s, server.Port());
    socket.Send(request.data(), static_cast<qsizetype>(request.size()));
    Fetched fetched;
    const std::string text = ReceiveAll(socket);
    const std::size_t headEnd = text.find("\r\n\r\n");
    fetched.head = text.substr(0, headEnd + 4);
    fetched.body = text.substr(headEnd + 4);
    return fetched;
}

std::string Inflate(const std::string& data, bool gzip) {
    QByteArray out;
    EXPECT_EQ(InflateBody(QByteArrayView(data.data(), qsizetype(data.size())), gzip, 64 << 20, out),
              InflateResult::Done);
    return out.toStdString();
}

bool HasLine(const std::string& head, const std::string& line) {
    return head.find("\r\n" + line + "\r\n") != std::string::npos;
}

} // namespace

TEST_F(SocketTest, ChunkedRepliesCarryTheExtensionOnEverySizeLine) {
    HttpServer server;
    HttpReply reply = HttpReply::Page("hello world");
    reply.framing = HttpReply::Framing::Chunked;
    reply.chunkSize = 4;
    reply.chunkExtension = ";x=1";
    server.SetReply("/page", reply);
    const Fetched fetched = Fetch(server, kRequest);
    EXPECT_TRUE(HasLine(fetched.head, "Transfer-Encoding: chunked"));
    EXPECT_EQ(fetched.head.find("Content-Length"), std::string::npos);
    EXPECT_EQ(fetched.body, "4;x=1\r\nhell\r\n4;x=1\r\no wo\r\n3;x=1\r\nrld\r\n0;x=1\r\n\r\n");
}

TEST_F(SocketTest, CompressedRepliesInflateToTheBody) {
    HttpServer server;
    const std::string page(100000, 'z');
    HttpReply gzip = HttpReply::Page(page);
    gzip.coding = HttpReply::Coding::Gzip;
    HttpReply deflate = HttpReply::Page(page);
    deflate.coding = HttpReply::Coding::Deflate;
    server.SetReply("/gzip", gzip);
    server.SetReply("/deflate", deflate);

    const Fetched zipped = Fetch(server, "GET /gzip HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(HasLine(zipped.head, "Content-Encoding: gzip"));
    EXPECT_TRUE(HasLine(zipped.head, "Content-Length: " + std::to_string(zipped.body.size())));
    EXPECT_LT(zipped.body.size(), 1000u);
    EXPECT_EQ(Inflate(zipped.body, true), page);

    const Fetched deflated = Fetch(server, "GET /deflate HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(HasLine(deflated.head, "Content-Encoding: deflate"));
    EXPECT_EQ(Inflate(deflated.body, false), page);

    EXPECT_EQ(Inflate(twtest::GzipOfRepeatedByte('\0', 10 << 20), true), std::string(10 << 20, '\0'));
}

TEST_F(SocketTest, DripAndGeneratedRepliesArriveWhole) {
    HttpServer server;
    HttpReply drip = HttpReply::Page("slowly, slowly");
    drip.delivery = HttpReply::Delivery::Drip;
    drip.dripBytes = 16;
    drip.dripDelayMs = 5;
    server.SetReply("/drip", drip);
    server.SetReply("/huge", HttpReply::Generated(5 << 20));

    const auto start = SteadyClock::now();
    const Fetched slow = Fetch(server, "GET /drip HTTP/1.1\r\n\r\n");
    EXPECT_EQ(slow.body, "slowly, slowly");
    // Over 100 bytes in steps of 16 with a pause after each: the reply took at least six pauses.
    EXPECT_GE(SteadyClock::now() - start, 6 * 5ms);

    const Fetched huge = Fetch(server, "GET /huge HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(HasLine(huge.head, "Content-Length: 5242880"));
    ASSERT_EQ(huge.body.size(), 5u << 20);
    for (std::size_t i = 0; i < huge.body.size(); i += 4093)
        ASSERT_EQ(huge.body[i], twtest::GeneratedBodyByte(i)) << "at " << i;
}

TEST_F(SocketTest, RepliesAreChosenByTargetAndRequestsRecorded) {
    HttpServer server;
    server.SetReply(
        "/moved", HttpReply::Redirect(302, "/next").Header("Set-Cookie", "a=1").Header("Set-Cookie", "b=2"));
    server.SetReply("/raw", HttpReply::Raw("HTTP/1.0 200 OK\r\n\r\nraw bytes"));
    server.SetReply("/q?x=2", HttpReply::Page("exact query"));
    server.SetReply("/q", HttpReply::Page("any query"));

    const Fetched moved = Fetch(server, "GET /moved HTTP/1.1\r\n\r\n");
    EXPECT_EQ(moved.head.substr(0, 22), "HTTP/1.1 302 Found\r\nLo");
    EXPECT_NE(moved.head.find("Location: /next\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\n"),
              std::string::npos);
    EXPECT_EQ(Fetch(server, "GET /raw HTTP/1.1\r\n\r\n").body, "raw bytes");
    EXPECT_EQ(Fetch(server, "GET /q?x=2 HTTP/1.1\r\n\r\n").body, "exact query");
    EXPECT_EQ(Fetch(server, "GET /q?x=3 HTTP/1.1\r\n\r\n").body, "any query");
    EXPECT_EQ(Fetch(server, "GET /elsewhere HTTP/1.1\r\n\r\n").head.substr(0, 12), "HTTP/1.1 404");

    const std::string post =
        "POST /form HTTP/1.1\r\nContent-Length: 7\r\nContent-Type: text/plain\r\n\r\na=1&b=2";
    Fetch(server, post);
    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 6u);
    EXPECT_EQ(requests[5].raw, post);
    EXPECT_EQ(requests[5].method, "POST");
    EXPECT_EQ(requests[5].target, "/form");
    EXPECT_EQ(requests[5].body, "a=1&b=2");
    EXPECT_EQ(requests[5].HeaderValue("content-type"), "text/plain");
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
                for (int round = 0; round < kRounds; ++round)
                    if (Fetch(server, kRequest).body == "<p>shared</p>")
                        ++good;
            } catch (const CWSocketException&) {
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), kThreads * kRounds);
    EXPECT_EQ(server.ConnectionCount(), kThreads * kRounds);
}

TEST_F(SocketTest, FixtureServersStopPromptlyWhateverTheirClientsDo) {
    CWSocket silent;
    CWSocket stalled;
    const auto start = SteadyClock::now();
    {
        HttpServer server;
        server.SetDefaultReply(HttpReply::With(HttpReply::Delivery::Stall));
        silent.Connect(u"127.0.0.1"_s, server.Port());
        Request(stalled, u"127.0.0.1"_s, server.Port());
        while (server.Requests().empty())
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_LT(SteadyClock::now() - start, 2000ms);
    char buffer[16];
    EXPECT_EQ(stalled.Receive(buffer, sizeof buffer), 0);
}

TEST_F(SocketTest, WhoisServerAnswersOneQueryLine) {
    twtest::WhoisServer server;
    server.SetReply("example.com", "Domain Name: EXAMPLE.COM\r\n");
    const auto ask = [&](const std::string& query) {
        CWSocket socket;
        socket.Connect(u"127.0.0.1"_s, server.Port());
        socket.Send(query.data(), static_cast<qsizetype>(query.size()));
        return ReceiveAll(socket);
    };
    EXPECT_EQ(ask("example.com\r\n"), "Domain Name: EXAMPLE.COM\r\n");
    EXPECT_EQ(ask("free.com\r\n"), "No match for domain.\r\n");
    EXPECT_EQ(server.Queries(), (std::vector<std::string>{"example.com", "free.com"}));
}
