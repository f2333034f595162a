#include "net/sha1.h"

#include <QByteArray>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace {

// The digest of repeat copies of text, fed in pieces of at most piece bytes, as upper-case hex.
std::string Digest(const std::string& text, int repeat, std::size_t piece) {
    const std::string whole = [&] {
        std::string all;
        for (int i = 0; i < repeat; ++i)
            all += text;
        return all;
    }();
    SHA1Context context;
    EXPECT_EQ(SHA1Reset(&context), kShaSuccess);
    for (std::size_t at = 0; at < whole.size(); at += piece) {
        const auto size = static_cast<unsigned>(std::min(piece, whole.size() - at));
        EXPECT_EQ(SHA1Input(&context, reinterpret_cast<const uint8_t*>(whole.data() + at), size),
                  kShaSuccess);
    }
    uint8_t digest[kSha1HashSize];
    EXPECT_EQ(SHA1Result(&context, digest), kShaSuccess);
    return QByteArray(reinterpret_cast<const char*>(digest), kSha1HashSize).toHex().toUpper().toStdString();
}

} // namespace

// The four test vectors of RFC 3174, each fed whole, a byte at a time and in uneven pieces.
TEST(Sha1Test, PublishedVectors) {
    const struct {
        std::string text;
        int repeat;
        std::string digest;
    } vectors[] = {
        {"abc", 1, "A9993E364706816ABA3E25717850C26C9CD0D89D"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
         "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
        {"a", 1000000, "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F"},
        {"0123456701234567012345670123456701234567012345670123456701234567", 10,
         "DEA356A2CDDD90C7A7ECEDC5EBB563934F460452"},
    };
    for (const auto& vector : vectors) {
        SCOPED_TRACE(vector.text);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{1} << 20})
            EXPECT_EQ(Digest(vector.text, vector.repeat, piece), vector.digest) << piece;
    }
}

TEST(Sha1Test, MisuseGivesTheDocumentedCodes) {
    const uint8_t byte = 'a';
    uint8_t digest[kSha1HashSize];
    EXPECT_EQ(SHA1Reset(nullptr), kShaNull);
    EXPECT_EQ(SHA1Input(nullptr, &byte, 1), kShaNull);
    EXPECT_EQ(SHA1Result(nullptr, digest), kShaNull);

    SHA1Context context;
    EXPECT_EQ(SHA1Input(&context, &byte, 1), kShaStateError) << "no reset yet";
    ASSERT_EQ(SHA1Reset(&context), kShaSuccess);
    EXPECT_EQ(SHA1Input(&context, nullptr, 1), kShaNull);
    EXPECT_EQ(SHA1Input(&context, nullptr, 0), kShaSuccess) << "nothing to add";
    EXPECT_EQ(SHA1Result(&context, nullptr), kShaNull);

    // The result can be read again; more input after it spoils the hash until the next reset.
    ASSERT_EQ(SHA1Input(&context, reinterpret_cast<const uint8_t*>("abc"), 3), kShaSuccess);
    uint8_t again[kSha1HashSize];
    ASSERT_EQ(SHA1Result(&context, digest), kShaSuccess);
    ASSERT_EQ(SHA1Result(&context, again), kShaSuccess);
    EXPECT_TRUE(std::equal(digest, digest + kSha1HashSize, again));
    EXPECT_EQ(SHA1Input(&context, &byte, 1), kShaStateError);
    EXPECT_EQ(SHA1Result(&context, again), kShaStateError);

    ASSERT_EQ(SHA1Reset(&context), kShaSuccess);
    ASSERT_EQ(SHA1Input(&context, reinterpret_cast<const uint8_t*>("abc"), 3), kShaSuccess);
    ASSERT_EQ(SHA1Result(&context, again), kShaSuccess);
    EXPECT_TRUE(std::equal(digest, digest + kSha1HashSize, again)) << "a reset starts a fresh hash";
}
