#include "net/chunked_decoder.h"

#include "core/char_codes.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>

void ChunkedDecoder::Feed(char* bytes, qsizetype size) {
    // The state is worked on in locals: the bytes written could alias the members, which would then be
    // read and written back around every byte.
    Phase phase = m_phase;
    qsizetype read = m_read;
    qsizetype write = m_write;
    std::uint64_t chunkSize = m_size;
    qsizetype digits = m_digits;
    bool overflow = m_overflow;
    qsizetype lineSearch = m_lineSearch;
    std::uint64_t left = m_left;
    // The phases follow each other in the order of the cases, so a chunk whose bytes are all there passes
    // through them in one go; stop is set where the bytes so far run out.
    bool stop = false;
    while (!stop && phase != Phase::Done) {
        switch (phase) {
        case Phase::Space:
            while (read < size && IsCSpace(QLatin1Char(bytes[read])))
                ++read;
            if (read == size) {
                stop = true;
                break;
            }
            chunkSize = 0;
            digits = 0;
            overflow = false;
            phase = Phase::Digits;
            [[fallthrough]];
        case Phase::Digits:
            for (int digit; read < size && (digit = HexDigitValue(QLatin1Char(bytes[read]))) >= 0;
                 ++read, ++digits) {
                if (chunkSize > (UINT64_MAX >> 4))
                    overflow = true;
                chunkSize = (chunkSize << 4) | static_cast<unsigned>(digit);
            }
            if (read == size) {
                stop = true;
                break;
            }
            if (digits == 0 || overflow) {
                m_result = DechunkResult::Malformed;
                phase = Phase::Done;
                break;
            }
            lineSearch = read;
            phase = Phase::LineEnd;
            [[fallthrough]];
        case Phase::LineEnd:
            if (const qsizetype end = QByteArrayView(bytes + lineSearch, size - lineSearch).indexOf("\r\n");
                end >= 0) {
                read = lineSearch + end + 2;
            } else {
                // The line's bytes stay unread until its end has come; a carriage return at the very end
                // may pair with the next byte.
                lineSearch = std::max(lineSearch, size - 1);
                stop = true;
                break;
            }
            if (chunkSize == 0) {
                m_result = DechunkResult::Complete;
                phase = Phase::Done;
                break;
            }
            left = chunkSize;
            phase = Phase::Data;
            [[fallthrough]];
        case Phase::Data: {
            const qsizetype available = size - read;
            const qsizetype take =
                left > static_cast<std::uint64_t>(available) ? available : static_cast<qsizetype>(left);
            if (write != read)
                std::memmove(bytes + write, bytes + read, static_cast<size_t>(take));
            write += take;
            read += take;
            left -= static_cast<std::uint64_t>(take);
            if (left > 0) {
                stop = true;
                break;
            }
            phase = Phase::AfterData;
        }
            [[fallthrough]];
        case Phase::AfterData:
            if (read == size) {
                stop = true;
                break;
            }
            if (bytes[read] == '\r')
                ++read;
            phase = Phase::AfterCarriageReturn;
            [[fallthrough]];
        case Phase::AfterCarriageReturn:
            if (read == size) {
                stop = true;
                break;
            }
            if (bytes[read] == '\n')
                ++read;
            phase = Phase::Space;
            break;
        case Phase::Done:
            break;
        }
    }
    m_phase = phase;
    m_read = read;
    m_write = write;
    m_size = chunkSize;
    m_digits = digits;
    m_overflow = overflow;
    m_lineSearch = lineSearch;
    m_left = left;
}

DechunkResult ChunkedDecoder::Finish(char* bytes, qsizetype size) {
    Feed(bytes, size);
    if (m_phase == Phase::Done)
        return m_result;
    // A size too large for any body is wrong whatever would have followed it; anything else still undecided
    // waited for bytes that never came.
    return m_phase == Phase::Digits && m_overflow ? DechunkResult::Malformed : DechunkResult::Truncated;
}

void ChunkedDecoder::Compact(char* bytes, qsizetype& size) {
    const qsizetype shift = m_read - m_write;
    if (shift == 0 || m_phase == Phase::Done)
        return;
    std::memmove(bytes + m_write, bytes + m_read, static_cast<size_t>(size - m_read));
    size -= shift;
    m_read -= shift;
    m_lineSearch -= shift;
}
