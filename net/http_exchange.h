#pragma once

#include "net/chunked_decoder.h"
#include "net/reply_pace.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

class ByteStream;
class CSSLContext;

// Where another thread finds the stream of a running exchange, to interrupt it.
class ExchangeSocketSlot {
  public:
    void Attach(ByteStream* stream);
    void Detach();
    // Interrupts the attached stream, if any. An exchange that attaches later is not affected: whoever
    // interrupts sets the exchange's abort flag first, and the exchange reads it after attaching.
    void Interrupt();

  private:
    std::mutex m_lock;
    ByteStream* m_stream = nullptr;
};

// The steps of one exchange, in the order they happen.
enum class ExchangeStage {
    Resolving,  // detail: the host
    Resolved,   // detail: the address it resolved to
    Connecting, // and each following stage: no detail
    Connected,
    Sending,
    Sent,
    Receiving,
    Received, // the whole reply is in: the peer closed the connection
    Closing,
    Closed,
};

// Told of each step of an exchange as it happens, on the exchange's thread.
using ExchangeObserver = std::function<void(ExchangeStage stage, const QString& detail)>;

struct HttpExchangeRequest {
    QString host;
    int port = 80;
    bool tls = false;
    // Needed when tls is set; none makes the exchange fail at connecting.
    const CSSLContext* tlsContext = nullptr;
    QByteArray bytes;
    // Bytes asked for per receive call.
    int readStep = 16384;
    int sendTimeoutMs = 5000;
    int receiveTimeoutMs = 10000;
    // Called once with the header text as soon as it has arrived, while the body still comes.
    std::function<void(const QString& header)> onHeader;
    ReplyTimeLimits timeLimits;
    // When set, told of every step. To tell what the host resolves to, the exchange looks the name up
    // before it connects (the connect, which tries every address, looks it up once more), and it closes
    // the connection itself at the end rather than leaving that to the stream's destructor.
    ExchangeObserver observer;
    // Storage to receive into: a slot hands back what its last reply used, so that the next one lands in
    // memory already in use. Its content does not matter; the first bufferMapped bytes from its start are
    // known to be mapped, so they are not mapped again.
    QByteArray buffer;
    qsizetype bufferMapped = 0;
    // When the reply's last transfer coding is "chunked", take it off while the bytes arrive and are still in
    // the cache, instead of in a pass over the whole body afterwards.
    bool dechunkAsReceived = false;
};

struct HttpExchangeResult {
    // Everything received; empty when nothing came or the reply was too large to keep. Its body is without
    // the chunked coding when dechunked is set.
    QByteArray data;
    // How taking off the chunked coding as the reply arrived ended, when it was.
    std::optional<DechunkResult> dechunked;
    // The stage that failed ("Connect error: ", "Send error: ", "Receive error: ") and the reason; empty
    // when the exchange went through.
    QString error;
};

// One connect, send and receive until the peer closes the connection, over a plain or a TLS byte stream
// alike; any request-then-read-to-the-end protocol (whois too) runs through it. Stops early when abort is
// set, or when the reply arrives too slowly for timeLimits (keeping what came, as after any receive
// failure). received counts the bytes so far, for progress. The buffer starts with room for what the
// reply's Content-Length announces, up to a limit (the length is the peer's word), and doubles beyond.
// Never throws.
HttpExchangeResult Exchange(HttpExchangeRequest request, const std::atomic<bool>& abort,
                            std::atomic<int>& received, ExchangeSocketSlot& slot);
