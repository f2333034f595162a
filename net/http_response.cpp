#include "net/http_response.h"

#include "core/number_text.h"

#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <zlib.h>

HeaderEndScanner::HeaderEndScanner(qsizetype searchLimit) : m_searchLimit(searchLimit) {}

bool HeaderEndScanner::Scan(QByteArrayView data) {
    if (Found())
        return true;
    // A terminator may straddle the previous end: look again at its last bytes.
    qsizetype at = std::max<qsizetype>(0, m_scanned - 3);
    const qsizetype end = std::min(data.size(), m_searchLimit);
    const char* bytes = data.data();
    while (at < end) {
        const void* found = std::memchr(bytes + at, '\n', static_cast<size_t>(end - at));
        if (!found)
            break;
        const qsizetype lf = static_cast<const char*>(found) - bytes;
        const bool blankLine = (lf + 1 < data.size() && bytes[lf + 1] == '\n') ||
                               (lf + 2 < data.size() && bytes[lf + 1] == '\r' && bytes[lf + 2] == '\n');
        if (blankLine) {
            m_headerLength = lf > 0 && bytes[lf - 1] == '\r' ? lf - 1 : lf;
            return true;
        }
        // The bytes after this LF may not have arrived yet: look at it again next time.
        if (lf + 2 >= data.size())
            break;
        at = lf + 1;
    }
    m_scanned = std::max(m_scanned, end);
    return false;
}

HeaderSplit SplitHeaderBlock(QByteArrayView reply, qsizetype searchLimit) {
    const qsizetype window = std::min(reply.size(), searchLimit + 3);
    const qsizetype end = reply.first(window).indexOf("\r\n\r\n");
    if (end < 0)
        return {};
    return {end, end + 4};
}

ResponseHead ParseResponseHead(const QString& header) {
    ResponseHead head;
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
            if (const auto status = number_text::readInt(value))
                head.status = *status;
        } else if (startsWith(u"location:")) {
            head.location = value.trimmed().toString();
        } else if (startsWith(u"content-encoding:")) {
            head.contentCoding = value.trimmed().toString().toLower();
        } else if (startsWith(u"set-cookie:")) {
            head.setCookies.append(value.toString());
        } else if (startsWith(u"transfer-encoding:")) {
            if (value.trimmed().compare(u"chunked", Qt::CaseInsensitive) == 0)
                head.chunked = true;
        }
    }
    return head;
}

namespace {

bool isScanfSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

DechunkResult Dechunk(QByteArray& body) {
    char* bytes = body.data();
    const qsizetype size = body.size();
    qsizetype read = 0;
    qsizetype write = 0;
    DechunkResult result = DechunkResult::Truncated;
    for (;;) {
        while (read < size && isScanfSpace(bytes[read]))
            ++read;
        if (read >= size)
            break;

        std::uint64_t chunkSize = 0;
        qsizetype digits = 0;
        bool overflow = false;
        for (int digit; read < size && (digit = hexDigit(bytes[read])) >= 0; ++read, ++digits) {
            if (chunkSize > (UINT64_MAX >> 4))
                overflow = true;
            chunkSize = (chunkSize << 4) | static_cast<unsigned>(digit);
        }
        if (digits == 0 || overflow) {
            result = DechunkResult::Malformed;
            break;
        }
        const qsizetype lineEnd = QByteArrayView(bytes + read, size - read).indexOf("\r\n");
        if (lineEnd < 0)
            break;
        read += lineEnd + 2;
        if (chunkSize == 0) {
            result = DechunkResult::Complete;
            break;
        }

        const qsizetype available = size - read;
        const qsizetype take =
            chunkSize > static_cast<std::uint64_t>(available) ? available : static_cast<qsizetype>(chunkSize);
        std::memmove(bytes + write, bytes + read, static_cast<size_t>(take));
        write += take;
        read += take;
        if (static_cast<std::uint64_t>(take) < chunkSize)
            break;
        if (read < size && bytes[read] == '\r')
            ++read;
        if (read < size && bytes[read] == '\n')
            ++read;
    }
    body.truncate(write);
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
