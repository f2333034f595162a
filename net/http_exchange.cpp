#include "net/http_exchange.h"

#include "core/limits.h"
#include "core/text_convert.h"
#include "net/http_response.h"
#include "net/socket.h"
#include "net/tls_socket.h"

#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

void ExchangeSocketSlot::Attach(CWSocket* socket) {
    std::lock_guard guard(m_lock);
    m_socket = socket;
}

void ExchangeSocketSlot::Detach() {
    std::lock_guard guard(m_lock);
    m_socket = nullptr;
}

void ExchangeSocketSlot::Interrupt() {
    std::lock_guard guard(m_lock);
    if (m_socket)
        m_socket->Interrupt();
}

namespace {

constexpr qsizetype kInitialCapacity = 102400;
// Room kept free behind the data, so that a receive never lands at the very end of the buffer.
constexpr qsizetype kSpare = 1024;

// Keeps the socket findable in the slot for as long as it exists.
class SlotAttachment {
  public:
    SlotAttachment(ExchangeSocketSlot& slot, CWSocket& socket) : m_slot(slot) { m_slot.Attach(&socket); }
    ~SlotAttachment() { m_slot.Detach(); }
    SlotAttachment(const SlotAttachment&) = delete;
    SlotAttachment& operator=(const SlotAttachment&) = delete;

  private:
    ExchangeSocketSlot& m_slot;
};

QString socketErrorText(const CWSocketException& exception) {
    QString message;
    if (!exception.GetErrorMessage(message) || message.isEmpty())
        message = u"error "_s + QString::number(exception.GetErrorCode());
    return message;
}

} // namespace

HttpExchangeResult HttpExchange(const HttpExchangeRequest& request, const std::atomic<bool>& abort,
                                std::atomic<int>& received, ExchangeSocketSlot& slot) {
    HttpExchangeResult result;
    CWSocket socket;
    SlotAttachment attachment(slot, socket);
    CSSLSocket tls;
    if (abort.load())
        return result;

    QString stage = u"Connect error: "_s;
    QByteArray buffer;
    qsizetype used = 0;
    const qsizetype readStep = std::max(1, request.readStep);
    const qsizetype capacityLimit = qsizetype(limits::kMaxResponseBytes) + readStep + kSpare + 1;
    try {
        socket.SetTimeouts(request.sendTimeoutMs, request.receiveTimeoutMs);
        if (request.tls) {
            if (!request.tlsContext || !request.tlsContext->GetHandle()) {
                result.error = stage + u"no TLS context"_s;
                return result;
            }
            if (!tls.Create(*request.tlsContext, socket) || !tls.Connect(request.host, request.port)) {
                result.error = stage + tls.GetErrorText();
                return result;
            }
        } else {
            socket.Connect(request.host, request.port);
        }

        stage = u"Send error: "_s;
        if (request.tls) {
            if (tls.Send(request.bytes.constData(), request.bytes.size()) < 0) {
                result.error = stage + tls.GetErrorText();
                return result;
            }
        } else {
            socket.Send(request.bytes.constData(), request.bytes.size());
        }

        stage = u"Receive error: "_s;
        HeaderEndScanner headerEnd(limits::kHeaderSearchBytes);
        buffer.resize(kInitialCapacity);
        while (!abort.load()) {
            if (used + readStep >= buffer.size() - kSpare)
                buffer.resize(std::min(buffer.size() * 2, capacityLimit));
            const qsizetype count = request.tls ? tls.Receive(buffer.data() + used, readStep)
                                                : socket.Receive(buffer.data() + used, readStep);
            if (count < 0) {
                result.error = stage + tls.GetErrorText();
                break;
            }
            if (count == 0)
                break;
            used += count;
            received.store(static_cast<int>(std::min<qsizetype>(used, INT_MAX)));
            if (used > limits::kMaxResponseBytes) {
                result.error =
                    stage + u"the reply is larger than %1 MB"_s.arg(limits::kMaxResponseBytes >> 20);
                result.header.clear();
                used = 0;
                break;
            }
            if (!headerEnd.Found() && headerEnd.Scan(QByteArrayView(buffer.constData(), used))) {
                result.header = Utf8ToWide(QByteArrayView(buffer.constData(), headerEnd.HeaderLength()));
                if (request.onHeader)
                    request.onHeader(result.header);
            }
        }
    } catch (const CWSocketException& exception) {
        result.error = stage + socketErrorText(exception);
    }
    buffer.truncate(used);
    result.data = std::move(buffer);
    return result;
}
