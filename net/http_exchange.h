#pragma once

#include "net/reply_pace.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

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
    // Storage to receive into: a slot hands back what its last reply used, so that the next one lands in
    // memory already in use. Its content does not matter; the first bufferMapped bytes from its start are
    // known to be mapped, so they are not mapped again.
    QByteArray buffer;
    qsizetype bufferMapped = 0;
};

struct HttpExchangeResult {
    // Everything received; empty when nothing came or the reply was too large to keep.
    QByteArray data;
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
HttpExchangeResult HttpExchange(HttpExchangeRequest request, const std::atomic<bool>& abort,
                                std::atomic<int>& received, ExchangeSocketSlot& slot);
