#include "tests/support/compression.h"

#include <algorithm>
#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace twtest {

namespace {

constexpr int kGzipWindowBits = 15 + 16;
constexpr int kZlibWindowBits = 15;

// Compresses count bytes handed out by next (called with a buffer and a size, returns bytes written).
template <typename Source> std::string Compress(int windowBits, std::size_t count, Source next) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string output;
    std::vector<unsigned char> input(65536);
    unsigned char chunk[65536];
    std::size_t left = count;
    int flush = Z_NO_FLUSH;
    do {
        const std::size_t take = std::min(left, input.size());
        next(input.data(), take);
        left -= take;
        flush = left == 0 ? Z_FINISH : Z_NO_FLUSH;
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(take);
        do {
            stream.next_out = chunk;
            stream.avail_out = sizeof chunk;
            deflate(&stream, flush);
            output.append(reinterpret_cast<const char*>(chunk), sizeof chunk - stream.avail_out);
        } while (stream.avail_out == 0);
    } while (flush != Z_FINISH);
    deflateEnd(&stream);
    return output;
}

std::string CompressString(int windowBits, const std::string& data) {
    std::size_t offset = 0;
    return Compress(windowBits, data.size(), [&](unsigned char* buffer, std::size_t size) {
        std::copy_n(data.data() + offset, size, reinterpret_cast<char*>(buffer));
        offset += size;
    });
}

} // namespace

std::string GzipCompress(const std::string& data) {
    return CompressString(kGzipWindowBits, data);
}

std::string DeflateCompress(const std::string& data) {
    return CompressString(kZlibWindowBits, data);
}

std::string GzipOfRepeatedByte(char byte, std::size_t count) {
    return Compress(
        kGzipWindowBits, count,
        [byte](unsigned char* buffer, std::size_t size) {
            std::fill_n(buffer, size, static_cast<unsigned char>(byte));
        });
}

} // namespace twtest
