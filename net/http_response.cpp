#include "net/http_response.h"

#include "core/char_codes.h"
#include "core/limits.h"
#include "core/number_text.h"

#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <zlib.h>

HeaderEndScanner::HeaderEndScanner(qsizetype searchLimit) : m_searchLimit(searchLimit) {}

HeaderEndScanner::State HeaderEndScanner::Scan(QByteArrayView data) {
    if (Decided())
        return m_state;
    const char* bytes = data.data();
    const qsizetype size = data.size();
    if (!m_statusLineSeen) {
        static constexpr char kStatusStart[] = "HTTP/";
        constexpr qsizetype kStatusStartLength = sizeof kStatusStart - 1;
        const qsizetype known = std::min(size, kStatusStartLength);
        if (known > 0 && std::memcmp(bytes, kStatusStart, static_cast<size_t>(known)) != 0)
            return m_state = State::NoHeader;
        if (known < kStatusStartLength)
            return m_state;
        m_statusLineSeen = true;
        m_next = kStatusStartLength;
    }

    const qsizetype end = std::min(size, m_searchLimit);
    while (m_next < end) {
        const void* found = std::memchr(bytes + m_next, '\n', static_cast<size_t>(end - m_next));
        if (!found) {
            m_next = end;
            break;
        }
        const qsizetype lf = static_cast<const char*>(found) - bytes;
        // The bytes after this line feed may not have arrived yet: look at it again next time.
        if (lf + 1 >= size || (bytes[lf + 1] == '\r' && lf + 2 >= size)) {
            m_next = lf;
            return m_state;
        }
        qsizetype bodyStart = -1;
        if (bytes[lf + 1] == '\n')
            bodyStart = lf + 2;
        else if (bytes[lf + 1] == '\r' && bytes[lf + 2] == '\n')
            bodyStart = lf + 3;
        if (bodyStart >= 0) {
            m_headerLength = bytes[lf - 1] == '\r' ? lf - 1 : lf;
            m_bodyStart = bodyStart;
            return m_state = State::Found;
        }
        m_next = lf + 1;
    }
    if (m_next >= m_searchLimit)
        m_state = State::NoHeader;
    return m_state;
}

HeaderSplit SplitHeaderBlock(QByteArrayView reply, qsizetype searchLimit) {
    HeaderEndScanner scanner(searchLimit);
    if (scanner.Scan(reply) != HeaderEndScanner::State::Found)
        return {};
    return {scanner.HeaderLength(), scanner.BodyStart()};
}

namespace {

// A reason phrase is a few words; a longer one is cut, so a hostile reply cannot fill the screen.
constexpr qsizetype kMaxReasonLength = 80;

// Content-Length as a reply may give it: digits only, and the same on every line that repeats it. Anything
// else leaves the length unknown, so the body is taken as it came.
class ContentLengthReader {
  public:
    void Read(QStringView value) {
        value = value.trimmed();
        qint64 length = 0;
        bool valid = !value.isEmpty();
        for (const QChar c : value) {
            const int digit = c.unicode() - u'0';
            if (digit < 0 || digit > 9 || length > (std::numeric_limits<qint64>::max() - digit) / 10) {
                valid = false;
                break;
            }
            length = length * 10 + digit;
        }
        if (!valid || (m_seen && m_length != length))
            m_conflict = true;
        m_seen = true;
        m_length = length;
    }

    std::optional<qint64> Length() const {
        if (!m_seen || m_conflict)
            return std::nullopt;
        return m_length;
    }

  private:
    bool m_seen = false;
    bool m_conflict = false;
    qint64 m_length = 0;
};

// What follows the code on a status line, trimmed. Control characters a hostile server might send are
// left out, since the phrase ends up on screen.
QString ReasonPhrase(QStringView afterCode) {
    QString reason;
    for (const QChar c : afterCode.trimmed())
        if (!c.isNonCharacter() && c.category() != QChar::Other_Control)
            reason.append(c);
    return reason.left(kMaxReasonLength);
}

} // namespace

QString HttpStatus::ErrorText() const {
    QString text = QStringLiteral("HTTP error ") + QString::number(code);
    if (!reason.isEmpty())
        text += u' ' + reason;
    return text;
}

ResponseHead ParseResponseHead(const QString& header) {
    ResponseHead head;
    ContentLengthReader contentLength;
    const QStringView text(header);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        const QStringView line = text.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty())
            continue;

        qsizetype separator = 0;
        while (separator < line.size() && line[separator] != u':' && line[separator] != u' ')
            ++separator;
        const QStringView value = separator < line.size() ? line.sliced(separator + 1) : QStringView();
        const auto startsWith = [&](QStringView prefix) {
            return line.startsWith(prefix, Qt::CaseInsensitive);
        };

        if (startsWith(u"http/")) {
            qsizetype codeEnd = 0;
            if (const auto status = number_text::ReadInt(value, &codeEnd)) {
                head.status = *status;
                head.statusLine = {*status, ReasonPhrase(value.sliced(codeEnd))};
            }
        } else if (startsWith(u"location:")) {
            head.location = value.trimmed().toString();
        } else if (startsWith(u"content-encoding:")) {
            head.contentCoding = value.trimmed().toString().toLower();
        } else if (startsWith(u"set-cookie:")) {
            head.setCookies.append(value.toString());
        } else if (startsWith(u"content-length:")) {
            contentLength.Read(value);
        } else if (startsWith(u"transfer-encoding:")) {
            for (const QStringView coding : value.tokenize(u','))
                if (const QStringView trimmed = coding.trimmed(); !trimmed.isEmpty())
                    head.transferCodings.append(trimmed.toString().toLower());
        }
    }
    head.contentLength = contentLength.Length();
    return head;
}

DechunkResult Dechunk(QByteArray& body) {
    ChunkedDecoder decoder(0);
    const DechunkResult result = decoder.Finish(body.data(), body.size());
    body.truncate(decoder.Written());
    return result;
}

InflateResult InflateBody(QByteArrayView in, bool gzipWrapper, qsizetype maxOutput, QByteArray& out) {
    out.clear();
    z_stream stream{};
    if (inflateInit2(&stream, gzipWrapper ? 15 + 16 : 15) != Z_OK)
        return InflateResult::Failed;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    stream.avail_in = static_cast<uInt>(in.size());

    constexpr qsizetype kMinFree = 8192;
    QByteArray buffer(std::min<qsizetype>(65536, maxOutput + 1), Qt::Uninitialized);
    qsizetype produced = 0;
    InflateResult result = InflateResult::Done;
    for (;;) {
        if (buffer.size() - produced < kMinFree && buffer.size() <= maxOutput)
            buffer.resize(std::min(buffer.size() * 2, maxOutput + 1));
        // One byte beyond the limit tells "too large" from "exactly at the limit".
        const qsizetype room = std::min(buffer.size(), maxOutput + 1) - produced;
        Bytef* const start = reinterpret_cast<Bytef*>(buffer.data() + produced);
        stream.next_out = start;
        stream.avail_out = static_cast<uInt>(std::min<qsizetype>(room, 1 << 30));
        const int status = inflate(&stream, Z_NO_FLUSH);
        produced += stream.next_out - start;
        if (status == Z_NEED_DICT || status == Z_DATA_ERROR || status == Z_MEM_ERROR ||
            status == Z_STREAM_ERROR) {
            result = InflateResult::Failed;
            break;
        }
        if (produced > maxOutput) {
            result = InflateResult::TooLarge;
            break;
        }
        if (status == Z_STREAM_END || status == Z_BUF_ERROR)
            break;
        // Input used up with room to spare: a stream cut short, keep what it gave.
        if (stream.avail_in == 0 && stream.avail_out > 0)
            break;
    }
    inflateEnd(&stream);
    if (result == InflateResult::Done) {
        buffer.truncate(produced);
        out = std::move(buffer);
    }
    return result;
}

bool InflateWithinLimit(QByteArray& body, bool gzipWrapper, QString& error) {
    QByteArray inflated;
    switch (InflateBody(body, gzipWrapper, limits::kMaxInflatedBytes, inflated)) {
    case InflateResult::Done:
        body = std::move(inflated);
        return true;
    case InflateResult::TooLarge:
        error = QStringLiteral("Receive error: the body inflates to more than %1 MB")
                    .arg(limits::kMaxInflatedBytes >> 20);
        return false;
    case InflateResult::Failed:
        break;
    }
    return false;
}

namespace {

// A coding's name, without the parameters a server may put after ";".
QStringView CodingName(const QString& coding) {
    const QStringView text(coding);
    const qsizetype parameters = text.indexOf(u';');
    return (parameters < 0 ? text : text.first(parameters)).trimmed();
}

} // namespace

bool EndsChunked(const QStringList& codings) {
    return !codings.isEmpty() && CodingName(codings.back()) == u"chunked";
}

bool UndoTransferCodings(const QStringList& codings, QByteArray& body, QString& error,
                         std::optional<DechunkResult> dechunked) {
    qsizetype left = codings.size();
    if (EndsChunked(codings)) {
        --left;
        switch (dechunked ? *dechunked : Dechunk(body)) {
        case DechunkResult::Complete:
            break;
        case DechunkResult::Truncated:
            error = QStringLiteral("Receive error: the chunked body ends early");
            break;
        case DechunkResult::Malformed:
            error = QStringLiteral("Receive error: the chunked body has a bad chunk size");
            break;
        }
    }
    while (left > 0) {
        const QStringView coding = CodingName(codings[--left]);
        if (coding == u"chunked" || coding == u"identity")
            continue;
        const bool gzip = coding == u"gzip" || coding == u"x-gzip";
        if (!gzip && coding != u"deflate") {
            error = QStringLiteral("Receive error: unsupported transfer coding ") + codings[left];
            return false;
        }
        if (!InflateWithinLimit(body, gzip, error))
            return false;
    }
    return true;
}
