#pragma once

#include <cstdint>
#include <openssl/types.h>

// SHA-1 with the classic reset / input / result interface and its error codes; OpenSSL does the hashing.
//
//   SHA1Context context;
//   SHA1Reset(&context);
//   SHA1Input(&context, bytes, length);   // as often as needed
//   uint8_t digest[SHA1HashSize];
//   SHA1Result(&context, digest);

enum {
    kShaSuccess = 0,
    kShaNull,         // a null pointer was passed
    kShaInputTooLong, // more than 2^64 - 1 bits of input
    kShaStateError    // no reset yet, input after the result, or the hash could not be started
};

inline constexpr int kSha1HashSize = 20;

class SHA1Context {
  public:
    SHA1Context() = default;
    ~SHA1Context();
    SHA1Context(const SHA1Context&) = delete;
    SHA1Context& operator=(const SHA1Context&) = delete;

  private:
    friend int SHA1Reset(SHA1Context*);
    friend int SHA1Input(SHA1Context*, const uint8_t*, unsigned int);
    friend int SHA1Result(SHA1Context*, uint8_t*);

    EVP_MD_CTX* m_digest = nullptr;
    uint64_t m_lengthBits = 0;
    uint8_t m_result[kSha1HashSize] = {};
    bool m_computed = false;
    // shaSuccess, or the error that spoilt this hash until the next reset.
    int m_corrupted = kShaStateError;
};

// Starts a new hash on context.
int SHA1Reset(SHA1Context* context);
// Adds length bytes of message.
int SHA1Input(SHA1Context* context, const uint8_t* message, unsigned int length);
// Finishes the hash (once) and copies it into digest; the same digest again until the next reset.
int SHA1Result(SHA1Context* context, uint8_t digest[kSha1HashSize]);
