#include "net/sha1.h"

#include <cstring>
#include <openssl/evp.h>

SHA1Context::~SHA1Context() {
    EVP_MD_CTX_free(m_digest);
}

int SHA1Reset(SHA1Context* context) {
    if (!context)
        return kShaNull;
    context->m_lengthBits = 0;
    context->m_computed = false;
    std::memset(context->m_result, 0, sizeof context->m_result);
    if (!context->m_digest)
        context->m_digest = EVP_MD_CTX_new();
    const bool started = context->m_digest && EVP_DigestInit_ex(context->m_digest, EVP_sha1(), nullptr) == 1;
    context->m_corrupted = started ? kShaSuccess : kShaStateError;
    return context->m_corrupted;
}

int SHA1Input(SHA1Context* context, const uint8_t* message, unsigned int length) {
    if (length == 0)
        return kShaSuccess;
    if (!context || !message)
        return kShaNull;
    if (context->m_computed)
        return context->m_corrupted = kShaStateError;
    if (context->m_corrupted != kShaSuccess)
        return context->m_corrupted;
    const uint64_t bits = uint64_t{length} * 8;
    if (context->m_lengthBits > UINT64_MAX - bits)
        return context->m_corrupted = kShaInputTooLong;
    if (EVP_DigestUpdate(context->m_digest, message, length) != 1)
        return context->m_corrupted = kShaStateError;
    context->m_lengthBits += bits;
    return kShaSuccess;
}

int SHA1Result(SHA1Context* context, uint8_t digest[kSha1HashSize]) {
    if (!context || !digest)
        return kShaNull;
    if (context->m_corrupted != kShaSuccess)
        return context->m_corrupted;
    if (!context->m_computed) {
        unsigned int size = 0;
        if (EVP_DigestFinal_ex(context->m_digest, context->m_result, &size) != 1 || size != kSha1HashSize)
            return context->m_corrupted = kShaStateError;
        context->m_computed = true;
    }
    std::memcpy(digest, context->m_result, kSha1HashSize);
    return kShaSuccess;
}
