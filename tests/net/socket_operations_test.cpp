#include "net/sigpipe.h"
#include "net/socket.h"
#include "tests/support/unanswered_port.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <string>
#include <sys/ioctl.h>
#include <thread>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

using SteadyClock = std::chrono::steady_clock;

sockaddr_in Loopback(int port = 0) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

// A socket made by Create and bound to a loopback port of the system's choice; returns that port.
int BindLoopback(CWSocket& socket, bool datagram) {
    socket.Create(datagram);
    const sockaddr_in address = Loopback();
    socket.Bind(reinterpret_cast<const sockaddr*>(&address), sizeof address);
    QString host;
    int port = 0;
    socket.GetSockName(host, port);
    EXPECT_EQ(host, u"127.0.0.1"_s);
    return port;
}

template <typename Call> int ErrorOf(Call call) {
    try {
        call();
    } catch (const CWSocketException& error) {
        return error.GetErrorCode();
    }
    return 0;
}

std::string ReceiveText(CWSocket& socket, qsizetype size) {
    std::string text(static_cast<std::size_t>(size), '\0');
    text.resize(static_cast<std::size_t>(socket.Receive(text.data(), size)));
    return text;
}

class SocketOperationsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { IgnoreBrokenPipeSignal(); }
};

} // namespace

TEST_F(SocketOperationsTest, DatagramsCarryTheSendersAddress) {
    CWSocket receiver;
    CWSocket sender;
    const int receiverPort = BindLoopback(receiver, true);
    const int senderPort = BindLoopback(sender, true);
    EXPECT_FALSE(receiver.IsReadable(0));

    EXPECT_EQ(sender.SendTo("first", 5, u"127.0.0.1"_s, receiverPort), 5);
    const sockaddr_in to = Loopback(receiverPort);
    EXPECT_EQ(sender.SendTo("second", 6, reinterpret_cast<const sockaddr*>(&to), sizeof to), 6);

    ASSERT_TRUE(receiver.IsReadable(2000));
    char buffer[64];
    QString from;
    int fromPort = 0;
    ASSERT_EQ(receiver.ReceiveFrom(buffer, sizeof buffer, from, fromPort), 5);
    EXPECT_EQ(std::string(buffer, 5), "first");
    EXPECT_EQ(from, u"127.0.0.1"_s);
    EXPECT_EQ(fromPort, senderPort);
    sockaddr_in source{};
    socklen_t length = sizeof source;
    ASSERT_EQ(receiver.ReceiveFrom(buffer, sizeof buffer, reinterpret_cast<sockaddr*>(&source), &length), 6);
    EXPECT_EQ(std::string(buffer, 6), "second");
    EXPECT_EQ(ntohs(source.sin_port), senderPort);

    // A receive time-out set as a socket option bounds the wait like any other.
    const timeval shortWait{0, 200 * 1000};
    receiver.SetSockOpt(SOL_SOCKET, SO_RCVTIMEO, &shortWait, sizeof shortWait);
    const auto start = SteadyClock::now();
    EXPECT_EQ(ErrorOf([&] { receiver.ReceiveFrom(buffer, sizeof buffer, from, fromPort); }), ETIMEDOUT);
    EXPECT_LT(SteadyClock::now() - start, 2s);
}

TEST_F(SocketOperationsTest, ListeningSocketAcceptsAndBothEndsKnowEachOther) {
    CWSocket listener;
    const int on = 1;
    listener.Create();
    listener.SetSockOpt(SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = Loopback();
    listener.Bind(reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listener.Listen();
    QString host;
    int port = 0;
    listener.GetSockName(host, port);

    CWSocket client;
    client.Connect(u"127.0.0.1"_s, port);
    CWSocket served;
    listener.Accept(served);
    EXPECT_TRUE(served.IsOpen());
    EXPECT_TRUE(served.IsWritable(0));

    QString peer;
    int peerPort = 0;
    QString local;
    int localPort = 0;
    served.GetPeerName(peer, peerPort);
    client.GetSockName(local, localPort);
    EXPECT_EQ(peer, local);
    EXPECT_EQ(peerPort, localPort);
    client.GetPeerName(peer, peerPort);
    EXPECT_EQ(peerPort, port);

    // The client says it is done sending; the served end still answers over the other half.
    client.Send("question", 8);
    client.SendDisconnect();
    ASSERT_TRUE(served.IsReadable(2000));
    int waiting = 0;
    served.IoCtl(FIONREAD, &waiting);
    EXPECT_EQ(waiting, 8);
    EXPECT_EQ(ReceiveText(served, 64), "question");
    EXPECT_EQ(ReceiveText(served, 64), "");
    served.Send("answer", 6);
    served.Shutdown(SHUT_WR);
    EXPECT_EQ(ReceiveText(client, 64), "answer");
    EXPECT_EQ(ReceiveText(client, 64), "");

    int type = 0;
    socklen_t length = sizeof type;
    served.GetSockOpt(SOL_SOCKET, SO_TYPE, &type, &length);
    EXPECT_EQ(type, SOCK_STREAM);
}

TEST_F(SocketOperationsTest, AttachHoldsAHandleAndClosesTheOneHeldBefore) {
    CWSocket listener;
    const int port = BindLoopback(listener, false);
    listener.Listen();
    CWSocket first;
    CWSocket second;
    first.Connect(u"127.0.0.1"_s, port);
    second.Connect(u"127.0.0.1"_s, port);

    CWSocket holder;
    EXPECT_FALSE(holder.IsOpen());
    holder.Attach(accept(listener.GetHandle(), nullptr, nullptr));
    EXPECT_TRUE(holder.IsOpen());
    holder.Send("one", 3);
    EXPECT_EQ(ReceiveText(first, 64), "one");

    holder.Attach(accept(listener.GetHandle(), nullptr, nullptr));
    EXPECT_EQ(ReceiveText(first, 64), "") << "the connection held before was closed";
    holder.Send("two", 3);
    EXPECT_EQ(ReceiveText(second, 64), "two");
    holder.Close();
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_EQ(ReceiveText(second, 64), "");
}

TEST_F(SocketOperationsTest, ConnectWithTimeoutEndsInTimeOrStaysNonBlocking) {
    const twtest::UnansweredPort unanswered;
    if (unanswered.Port() != 0) {
        CWSocket socket;
        const auto start = SteadyClock::now();
        EXPECT_EQ(ErrorOf([&] { socket.ConnectWithTimeout(u"127.0.0.1"_s, unanswered.Port(), 300); }),
                  ETIMEDOUT);
        EXPECT_GE(SteadyClock::now() - start, 250ms);
        EXPECT_LT(SteadyClock::now() - start, 3s);
        EXPECT_FALSE(socket.IsOpen());
    }

    CWSocket listener;
    const int port = BindLoopback(listener, false);
    listener.Listen();
    // Connect uses the socket Create made, with the time-out set on it as an option.
    CWSocket blocking;
    blocking.Create();
    const timeval shortWait{0, 200 * 1000};
    blocking.SetSockOpt(SOL_SOCKET, SO_RCVTIMEO, &shortWait, sizeof shortWait);
    blocking.Connect(u"127.0.0.1"_s, port);
    char byte = 0;
    auto start = SteadyClock::now();
    EXPECT_EQ(ErrorOf([&] { blocking.Receive(&byte, 1); }), ETIMEDOUT);
    EXPECT_GE(SteadyClock::now() - start, 150ms);
    EXPECT_LT(SteadyClock::now() - start, 3s);

    CWSocket nonBlocking;
    nonBlocking.ConnectWithTimeout(u"127.0.0.1"_s, port, 2000, false);
    start = SteadyClock::now();
    EXPECT_EQ(ErrorOf([&] { nonBlocking.Receive(&byte, 1); }), EAGAIN);
    EXPECT_LT(SteadyClock::now() - start, 100ms);
    int off = 0;
    nonBlocking.IoCtl(FIONBIO, &off);
    nonBlocking.SetTimeouts(5000, 100);
    EXPECT_EQ(ErrorOf([&] { nonBlocking.Receive(&byte, 1); }), ETIMEDOUT) << "back in blocking mode";
}

TEST_F(SocketOperationsTest, ExceptionsTakeTheGivenCodeOrTheLastSystemError) {
    CWSocket socket;
    EXPECT_EQ(ErrorOf([&] { socket.Listen(); }), ENOTSOCK);
    errno = EADDRINUSE;
    EXPECT_EQ(ErrorOf([] { ThrowWSocketException(0); }), EADDRINUSE);
    EXPECT_EQ(ErrorOf([] { ThrowWSocketException(ETIMEDOUT); }), ETIMEDOUT);
}

// The flags of a send or a receive reach the system with the ones the calls always use: a peek leaves the
// bytes for the next receive, urgent data goes apart from the stream, and a call that asked not to wait
// says so at once instead of reporting a stalled peer after the time-out.
TEST_F(SocketOperationsTest, SendAndReceiveTakeTheCallersFlags) {
    CWSocket listener;
    const int port = BindLoopback(listener, false);
    listener.Listen();
    CWSocket client;
    client.Connect(u"127.0.0.1"_s, port);
    CWSocket served;
    listener.Accept(served);

    client.Send("peek me", 7);
    ASSERT_TRUE(served.IsReadable(2000));
    char buffer[64];
    ASSERT_EQ(served.Receive(buffer, 4, MSG_PEEK | MSG_WAITALL), 4);
    EXPECT_EQ(std::string(buffer, 4), "peek");
    EXPECT_EQ(ReceiveText(served, 64), "peek me");

    client.Send("!", 1, MSG_OOB);
    char urgent = 0;
    for (int i = 0; i < 200 && ErrorOf([&] { served.Receive(&urgent, 1, MSG_OOB | MSG_DONTWAIT); }) != 0; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(urgent, '!');

    served.SetTimeouts(5000, 3000);
    const auto start = SteadyClock::now();
    EXPECT_EQ(ErrorOf([&] { served.Receive(buffer, sizeof buffer, MSG_DONTWAIT); }), EAGAIN);
    EXPECT_LT(SteadyClock::now() - start, 1s);
    client.Close();
    EXPECT_EQ(ReceiveText(served, 64), "");
}
