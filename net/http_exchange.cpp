#include "net/http_exchange.h"

#include "core/limits.h"
#include "core/page_prefault.h"
#include "core/text_convert.h"
#include "net/http_response.h"
#include "net/plain_byte_stream.h"
#include "net/socket_host.h"
#include "net/tls_byte_stream.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <netdb.h>
#include <optional>
#include <sys/socket.h>

using namespace Qt::StringLiterals;

void ExchangeSocketSlot::Attach(ByteStream* stream) {
    std::lock_guard guard(m_lock);
    m_stream = stream;
}

void ExchangeSocketSlot::Detach() {
    std::lock_guard guard(m_lock);
    m_stream = nullptr;
}

void ExchangeSocketSlot::Interrupt() {
    std::lock_guard guard(m_lock);
    if (m_stream)
        m_stream->Interrupt();
}

namespace {

constexpr qsizetype kInitialCapacity = 102400;
// Room kept free behind the data, so that a receive never lands at the very end of the buffer.
constexpr qsizetype kSpare = 1024;
// The most a reply's announced length makes room for at once: a peer may announce what it never sends.
constexpr qsizetype kAnnouncedCapacityLimit = 8 * 1024 * 1024;
// How far ahead of the data the buffer's pages are mapped, a stretch at a time.
constexpr qsizetype kPrefaultAhead = 2 * 1024 * 1024;

// Keeps the stream findable in the slot for as long as it exists.
class SlotAttachment {
  public:
    SlotAttachment(ExchangeSocketSlot& slot, ByteStream& stream) : m_slot(slot) { m_slot.Attach(&stream); }
    ~SlotAttachment() { m_slot.Detach(); }
    SlotAttachment(const SlotAttachment&) = delete;
    SlotAttachment& operator=(const SlotAttachment&) = delete;

  private:
    ExchangeSocketSlot& m_slot;
};

// Real time, whatever clock the program installed: the limits are about the peer, not about pacing.
std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The first address host resolves to, as numeric text, as the connect would try it first; the host itself
// when it is an address; empty when it does not resolve (the connect then says why).
QString FirstAddressOf(const QString& host) {
    const QByteArray name = SocketHostBytes(host);
    if (IsIpAddressLiteral(name))
        return QString::fromLatin1(name);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.constData(), nullptr, &hints, &found) != 0 || !found)
        return {};
    char text[NI_MAXHOST] = {};
    const int named =
        getnameinfo(found->ai_addr, found->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST);
    freeaddrinfo(found);
    return named == 0 ? QString::fromLatin1(text) : QString();
}

// Tells the observer, when there is one, of each step; at the end of a connected exchange it closes the
// connection in the observer's sight.
class StageReport {
  public:
    StageReport(const ExchangeObserver& observer, ByteStream& stream)
        : m_observer(observer), m_stream(stream) {}
    ~StageReport() {
        if (!m_observer || !m_connected)
            return;
        m_observer(ExchangeStage::Closing, {});
        m_stream.Close();
        m_observer(ExchangeStage::Closed, {});
    }
    StageReport(const StageReport&) = delete;
    StageReport& operator=(const StageReport&) = delete;

    void Tell(ExchangeStage stage, const QString& detail = {}) {
        if (stage == ExchangeStage::Connected)
            m_connected = true;
        if (m_observer)
            m_observer(stage, detail);
    }
    // The name look-up, made only for an observer.
    void Resolve(const QString& host) {
        if (!m_observer)
            return;
        Tell(ExchangeStage::Resolving, host);
        if (const QString address = FirstAddressOf(host); !address.isEmpty())
            Tell(ExchangeStage::Resolved, address);
    }

  private:
    const ExchangeObserver& m_observer;
    ByteStream& m_stream;
    bool m_connected = false;
};

std::unique_ptr<ByteStream> MakeStream(const HttpExchangeRequest& request) {
    if (request.tls)
        return std::make_unique<TlsByteStream>(request.tlsContext, request.sendTimeoutMs,
                                               request.receiveTimeoutMs);
    return std::make_unique<PlainByteStream>(request.sendTimeoutMs, request.receiveTimeoutMs);
}

} // namespace

HttpExchangeResult Exchange(HttpExchangeRequest request, const std::atomic<bool>& abort,
                            std::atomic<int>& received, ExchangeSocketSlot& slot) {
    HttpExchangeResult result;
    const std::unique_ptr<ByteStream> stream = MakeStream(request);
    SlotAttachment attachment(slot, *stream);
    if (abort.load())
        return result;

    StageReport report(request.observer, *stream);
    report.Resolve(request.host);
    report.Tell(ExchangeStage::Connecting);
    if (!stream->Connect(request.host, request.port)) {
        result.error = u"Connect error: "_s + stream->ErrorText();
        return result;
    }
    report.Tell(ExchangeStage::Connected);
    ReplyPace pace(request.timeLimits, NowMs());
    report.Tell(ExchangeStage::Sending);
    if (!stream->Send(request.bytes.constData(), request.bytes.size())) {
        result.error = u"Send error: "_s + stream->ErrorText();
        return result;
    }
    report.Tell(ExchangeStage::Sent);
    report.Tell(ExchangeStage::Receiving);

    const QString stage = u"Receive error: "_s;
    const qsizetype readStep = std::max(1, request.readStep);
    const qsizetype capacityLimit = qsizetype(limits::kMaxResponseBytes) + readStep + kSpare + 1;
    // The header end is watched only for the time limits; response processing splits the reply by the
    // same rule.
    HeaderEndScanner headerEnd(limits::kHeaderSearchBytes);
    // A buffer handed back may start after room its last reply's header took; that room is left unused.
    QByteArray buffer = std::move(request.buffer);
    const char* const handedBack = buffer.constData();
    buffer.resize(std::max(buffer.capacity() - buffer.data_ptr().freeSpaceAtBegin(), kInitialCapacity));
    // The bytes kept (a chunked body shrinks as its size lines come off), and all received.
    qsizetype used = 0;
    qsizetype total = 0;
    std::optional<ChunkedDecoder> chunks;
    // Storage made anew here is mapped as it fills.
    qsizetype prefaulted =
        buffer.constData() == handedBack ? std::clamp<qsizetype>(request.bufferMapped, 0, buffer.size()) : 0;
    while (!abort.load()) {
        if (used + readStep >= buffer.size() - kSpare)
            buffer.resize(std::min(buffer.size() * 2, capacityLimit));
        // Mapped ahead, not all at once: room made from an announced length may never be filled.
        if (used + readStep > prefaulted) {
            const qsizetype upTo = std::min(buffer.size(), used + readStep + kPrefaultAhead);
            PrefaultForWriting(buffer.data() + prefaulted, std::size_t(upTo - prefaulted));
            prefaulted = upTo;
        }
        const qsizetype count = stream->Receive(buffer.data() + used, readStep);
        if (count < 0) {
            result.error = stage + stream->ErrorText();
            break;
        }
        if (count == 0) {
            report.Tell(ExchangeStage::Received);
            break;
        }
        used += count;
        total += count;
        received.store(static_cast<int>(std::min<qsizetype>(total, INT_MAX)));
        if (total > limits::kMaxResponseBytes) {
            result.error = stage + u"the reply is larger than %1 MB"_s.arg(limits::kMaxResponseBytes >> 20);
            used = 0;
            break;
        }
        const std::int64_t now = NowMs();
        if (!pace.IsHeaderDone() &&
            headerEnd.Scan(QByteArrayView(buffer.constData(), used)) != HeaderEndScanner::State::Undecided) {
            pace.HeaderDone(now, headerEnd.BodyStart());
            if (headerEnd.Found()) {
                const QString header =
                    Utf8ToWide(QByteArrayView(buffer.constData(), headerEnd.HeaderLength()));
                const ResponseHead head = ParseResponseHead(header);
                if (request.dechunkAsReceived && EndsChunked(head.transferCodings))
                    chunks.emplace(headerEnd.BodyStart());
                if (const std::optional<qint64> length = head.contentLength) {
                    const qint64 wanted = headerEnd.BodyStart() + *length + readStep + kSpare + 1;
                    const qsizetype room =
                        qsizetype(std::min<qint64>({wanted, kAnnouncedCapacityLimit, capacityLimit}));
                    if (room > buffer.size()) {
                        buffer.reserve(room); // exactly this much, where growing would round up
                        buffer.resize(room);
                    }
                }
                if (request.onHeader)
                    request.onHeader(header);
            }
        }
        if (chunks) {
            chunks->Feed(buffer.data(), used);
            chunks->Compact(buffer.data(), used);
        }
        if (QString tooSlow = pace.Check(now, total); !tooSlow.isEmpty()) {
            result.error = std::move(tooSlow);
            break;
        }
    }
    if (chunks && used > 0) {
        result.dechunked = chunks->Finish(buffer.data(), used);
        used = chunks->Written();
    }
    buffer.truncate(used);
    result.data = std::move(buffer);
    return result;
}
