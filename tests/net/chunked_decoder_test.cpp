// Taking the chunked coding off while the bytes arrive, in the pieces they happen to come in.

#include "net/chunked_decoder.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct Decoded {
    std::string body;
    DechunkResult result;
};

// Feeds body after a header of headerLength bytes, piece bytes at a time, receiving each piece in place
// after the compacted bytes as the exchange does.
Decoded DecodeInPieces(const std::string& body, std::size_t piece) {
    const std::size_t headerLength = 5;
    std::string buffer(headerLength + body.size(), '\0');
    qsizetype used = qsizetype(headerLength);
    ChunkedDecoder decoder(used);
    for (std::size_t at = 0; at < body.size(); at += piece) {
        const std::size_t count = std::min(piece, body.size() - at);
        body.copy(buffer.data() + used, count, at);
        used += qsizetype(count);
        decoder.Feed(buffer.data(), used);
        decoder.Compact(buffer.data(), used);
    }
    const DechunkResult result = decoder.Finish(buffer.data(), used);
    return {buffer.substr(headerLength, std::size_t(decoder.Written()) - headerLength), result};
}

TEST(ChunkedDecoder, AnyPiecesGiveWhatTheWholeGives) {
    const struct {
        std::string body;
        std::string decoded;
        DechunkResult result;
    } cases[] = {
        {"5\r\nhello\r\n0\r\n\r\n", "hello", DechunkResult::Complete},
        {"3;name=\"v\"\r\nabc\r\nA;x\r\n0123456789\r\n0;last\r\nTrailer: x\r\n\r\n", "abc0123456789",
         DechunkResult::Complete},
        // White space before a size, a chunk without its line break, a bare LF after the data.
        {" \t\r\n2\r\nab3\r\ncde\n1\r\nf\r\n0\r\n", "abcdef", DechunkResult::Complete},
        // Data that looks like size lines stays data.
        {"7\r\n2\r\nab\r\n\r\n0\r\n\r\n", "2\r\nab\r\n", DechunkResult::Complete},
        {"a\r\n0123", "0123", DechunkResult::Truncated},
        {"5\r\nhello\r", "hello", DechunkResult::Truncated},
        {"5\r\nhello\r\n", "hello", DechunkResult::Truncated},
        {"5;ext", "", DechunkResult::Truncated},
        {"1ffffffffffffffff0\r\nxyz\r\n0\r\n\r\n", "", DechunkResult::Malformed},
        {"2\r\nok\r\n1ffffffffffffffff0", "ok", DechunkResult::Malformed},
        {"2\r\nok\r\nzz\r\nxyz\r\n", "ok", DechunkResult::Malformed},
    };
    for (const auto& c : cases) {
        for (std::size_t piece = 1; piece <= c.body.size(); ++piece) {
            SCOPED_TRACE(c.body + " in pieces of " + std::to_string(piece));
            const Decoded decoded = DecodeInPieces(c.body, piece);
            EXPECT_EQ(decoded.body, c.decoded);
            EXPECT_EQ(decoded.result, c.result);
        }
    }
}

// A size line that never ends, arriving a byte at a time, is searched once, not once per byte: a megabyte
// of it would otherwise take minutes.
TEST(ChunkedDecoder, AnEndlessSizeLineCostsLinearTime) {
    std::string body = "1;" + std::string(1 << 20, 'x');
    const Decoded decoded = DecodeInPieces(body, 1);
    EXPECT_EQ(decoded.body, "");
    EXPECT_EQ(decoded.result, DechunkResult::Truncated);
}

} // namespace
