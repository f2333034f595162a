#pragma once

#include <cstddef>
#include <string>

namespace twtest {

// Bodies as a server sends them with "Content-Encoding: gzip" (gzip wrapper) or "deflate" (zlib wrapper).
std::string GzipCompress(const std::string& data);
std::string DeflateCompress(const std::string& data);

// A gzip body that inflates to count copies of byte, made without holding the inflated bytes: a
// decompression bomb of a few kilobytes per hundred megabytes.
std::string GzipOfRepeatedByte(char byte, std::size_t count);

} // namespace twtest
