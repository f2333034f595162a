#include "net/chunked_decoder.h"

#include "core/char_codes.h"

#include <QByteArrayView>
#include <algorithm>
#include <cstring>

void ChunkedDecoder::Feed(char* bytes, qsizetype size) {
    // The position is worked on in locals: the bytes written could alias the members, which would then be
    // read and written back around every byte.
    auto [phase, read, write, chunkSize, digits, overflow, lineSearch, left] = m_at;
    const auto end = [this, &donePhase = phase](DechunkResult result) {
        m_result = result;
        donePhase = Phase::Done;
    };
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
                end(DechunkResult::Malformed);
                break;
            }
            lineSearch = read;
            phase = Phase::LineEnd;
            [[fallthrough]];
        case Phase::LineEnd:
            if (const qsizetype lineEnd =
                    QByteArrayView(bytes + lineSearch, size - lineSearch).indexOf("\r\n");
                lineEnd >= 0) {
                read = lineSearch + lineEnd + 2;
            } else {
                // The line's bytes stay unread until its end has come; a carriage return at the very end
                // may pair with the next byte.
                lineSearch = std::max(lineSearch, size - 1);
                stop = true;
                break;
            }
            if (chunkSize == 0) {
                end(DechunkResult::Complete);
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
        case Phase::AfterCarriageReturn:
            // After the data: a CR if there is one, then an LF if there is one.
            while (phase != Phase::Space && read < size) {
                const bool beforeCarriageReturn = phase == Phase::AfterData;
                if (bytes[read] == (beforeCarriageReturn ? '\r' : '\n'))
                    ++read;
                phase = beforeCarriageReturn ? Phase::AfterCarriageReturn : Phase::Space;
            }
            stop = phase != Phase::Space;
            break;
        case Phase::Done:
            break;
        }
    }
    m_at = {phase, read, write, chunkSize, digits, overflow, lineSearch, left};
}

DechunkResult ChunkedDecoder::Finish(char* bytes, qsizetype size) {
    Feed(bytes, size);
    if (m_at.phase == Phase::Done)
        return m_result;
    // A size too large for any body is wrong whatever would have followed it; anything else still undecided
    // waited for bytes that never came.
    return m_at.phase == Phase::Digits && m_at.overflow ? DechunkResult::Malformed : DechunkResult::Truncated;
}

void ChunkedDecoder::Compact(char* bytes, qsizetype& size) {
    const qsizetype shift = m_at.read - m_at.write;
    if (shift == 0 || m_at.phase == Phase::Done)
        return;
    std::memmove(bytes + m_at.write, bytes + m_at.read, static_cast<size_t>(size - m_at.read));
    size -= shift;
    m_at.read -= shift;
    m_at.lineSearch -= shift;
}
