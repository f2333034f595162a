// HTTP response processing on arbitrary replies. The header-end scanner, fed the reply in random steps,
// agrees with one scan and with a plain model of the rule; de-chunking never grows a body and gives back
// what chunk framing wrapped; inflating what was deflated gives it back, or "too large" past the bound, and
// never more than the bound; and a processed reply either is a redirect to follow, with a target, or keeps
// a body no longer than the reply or the inflate limit.
#include "core/limits.h"
#include "net/downloader.h"
#include "net/http_response.h"

#include <QByteArray>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <zlib.h>

namespace {

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

// The random choices of one run, drawn from the input itself so that every run can be replayed.
class Choices {
  public:
    explicit Choices(QByteArrayView data) {
        for (const char c : data)
            m_state = (m_state ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    }
    // 0 .. bound - 1.
    std::uint64_t Next(std::uint64_t bound) {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return bound == 0 ? 0 : m_state % bound;
    }

  private:
    std::uint64_t m_state = 0xCBF29CE484222325ull;
};

// The header rule written out plainly: after "HTTP/", the first line feed within the limit that is followed
// by a line feed or by CR LF ends the header (a CR before it stays out of the header).
qsizetype ModelHeaderLength(QByteArrayView reply, qsizetype limit) {
    if (!reply.startsWith("HTTP/"))
        return -1;
    for (qsizetype lf = 5; lf < std::min(reply.size(), limit); ++lf) {
        if (reply[lf] != '\n')
            continue;
        const QByteArrayView rest = reply.sliced(lf + 1);
        if (rest.startsWith("\n") || rest.startsWith("\r\n"))
            return reply[lf - 1] == '\r' ? lf - 1 : lf;
    }
    return -1;
}

void CheckHeaderEnd(QByteArrayView reply, Choices& choices) {
    for (const qsizetype limit : {qsizetype(8 + choices.Next(64)), qsizetype(limits::kHeaderSearchBytes)}) {
        const qsizetype expected = ModelHeaderLength(reply, limit);
        Check(SplitHeaderBlock(reply, limit).headerLength == expected);
        HeaderEndScanner scanner(limit);
        for (qsizetype fed = 0; fed < reply.size() && !scanner.Decided();) {
            fed = std::min<qsizetype>(reply.size(), fed + 1 + qsizetype(choices.Next(16)));
            scanner.Scan(reply.first(fed));
        }
        Check((scanner.Found() ? scanner.HeaderLength() : -1) == expected);
        if (scanner.Found())
            Check(scanner.BodyStart() > scanner.HeaderLength() && scanner.BodyStart() <= reply.size());
    }
}

void CheckDechunk(const QByteArray& data, Choices& choices) {
    QByteArray anything = data;
    Dechunk(anything);
    Check(anything.size() <= data.size());

    QByteArray framed;
    for (qsizetype at = 0; at < data.size();) {
        const qsizetype size = std::min<qsizetype>(data.size() - at, 1 + qsizetype(choices.Next(300)));
        framed += QByteArray::number(size, 16);
        if (choices.Next(4) == 0)
            framed += ";name=value";
        framed += "\r\n" + data.sliced(at, size) + "\r\n";
        at += size;
    }
    framed += "0\r\n\r\n";
    Check(Dechunk(framed) == DechunkResult::Complete && framed == data);
}

QByteArray Compressed(const QByteArray& data, bool gzip) {
    z_stream stream{};
    Check(deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, gzip ? 15 + 16 : 15, 8,
                       Z_DEFAULT_STRATEGY) == Z_OK);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))) + 32, Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    Check(deflate(&stream, Z_FINISH) == Z_STREAM_END);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

void CheckInflate(const QByteArray& data, Choices& choices) {
    const bool gzip = choices.Next(2) == 0;
    const qsizetype bound = qsizetype(choices.Next(std::uint64_t(data.size()) * 2 + 2));
    QByteArray out;
    const InflateResult result = InflateBody(Compressed(data, gzip), gzip, bound, out);
    if (data.size() <= bound)
        Check(result == InflateResult::Done && out == data);
    else
        Check(result == InflateResult::TooLarge && out.isEmpty());

    InflateBody(data, gzip, bound, out);
    Check(out.size() <= bound);
}

void CheckProcessing(const QByteArray& reply, Choices& choices) {
    CDownloader downloader(-1);
    downloader.m_redirectBudget = int(choices.Next(4));
    downloader.ProcessResponse(reply,
                               CDownloader::kRequestGet | CDownloader::kKeepText | CDownloader::kBuildTree,
                               QStringLiteral("http://example.com/a/b.html"));
    if (downloader.m_state.load() == CDownloader::kQueued)
        Check(!ParseResponseHead(downloader.m_header).location.isEmpty());
    else
        Check(downloader.Response().raw.size() <=
              std::max<qsizetype>(reply.size(), limits::kMaxInflatedBytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Choices choices(bytes);
    CheckHeaderEnd(bytes, choices);
    CheckDechunk(bytes, choices);
    CheckInflate(bytes, choices);
    CheckProcessing(bytes, choices);
    return 0;
}
