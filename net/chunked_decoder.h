#pragma once

#include <QtGlobal>
#include <cstdint>

enum class DechunkResult {
    Complete,  // the closing chunk of size 0 was read
    Truncated, // the data ended inside a chunk or before the closing chunk
    Malformed, // a size line held no hexadecimal size, or a size too large for any body
};

// Removes the chunked transfer coding from a body in place, while its bytes are still arriving: each
// chunk's data moves down over the size lines before it, so the decoded body grows from where the body
// starts. Feed decodes as far as the bytes so far decide and waits where the next bytes could change the
// reading; Finish reads the rest as if no more bytes come. Fed in any pieces, the result is the same as
// when all the bytes are fed at once. Chunk extensions after ";" and trailers are skipped.
class ChunkedDecoder {
  public:
    // bodyStart: where the chunked body starts in the buffer that Feed is given.
    explicit ChunkedDecoder(qsizetype bodyStart)
        : m_at{Phase::Space, bodyStart, bodyStart, 0, 0, false, 0, 0} {}

    // Decodes what arrived of bytes[0, size) since the last call.
    void Feed(char* bytes, qsizetype size);
    // Feeds the last bytes and decides; Written() is then the end of the decoded body.
    DechunkResult Finish(char* bytes, qsizetype size);
    // Moves the bytes not yet decoded (a size line cut short) to right after the decoded body and makes
    // size their end, so that the next bytes are received in place: data within a chunk then never moves.
    void Compact(char* bytes, qsizetype& size);
    // The end of the decoded body in the buffer.
    qsizetype Written() const { return m_at.write; }

  private:
    enum class Phase { Space, Digits, LineEnd, Data, AfterData, AfterCarriageReturn, Done };

    // Where decoding stands.
    struct Position {
        Phase phase;
        qsizetype read;
        qsizetype write;
        // The size line being read, and how far its end was looked for.
        std::uint64_t chunkSize;
        qsizetype digits;
        bool overflow;
        qsizetype lineSearch;
        // What the current chunk still holds.
        std::uint64_t left;
    };

    Position m_at;
    DechunkResult m_result = DechunkResult::Truncated;
};
