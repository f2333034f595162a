#include "net/chunked_decoder.h"

#include "core/char_codes.h"

#include <QByteArrayView>
#include <cstring>

void ChunkedDecoder::Feed(char* bytes, qsizetype size) {
    while (m_read < size) {
        switch (m_phase) {
        case Phase::Space:
            while (m_read < size && IsCSpace(QLatin1Char(bytes[m_read])))
                ++m_read;
            if (m_read < size) {
                m_phase = Phase::Digits;
                m_size = 0;
                m_digits = 0;
                m_overflow = false;
            }
            break;
        case Phase::Digits:
            for (int digit; m_read < size && (digit = HexDigitValue(QLatin1Char(bytes[m_read]))) >= 0;
                 ++m_read, ++m_digits) {
                if (m_size > (UINT64_MAX >> 4))
                    m_overflow = true;
                m_size = (m_size << 4) | static_cast<unsigned>(digit);
            }
            if (m_read == size)
                break;
            if (m_digits == 0 || m_overflow) {
                m_result = DechunkResult::Malformed;
                m_phase = Phase::Done;
                return;
            }
            m_phase = Phase::LineEnd;
            m_lineSearch = m_read;
            break;
        case Phase::LineEnd: {
            const qsizetype end = QByteArrayView(bytes + m_lineSearch, size - m_lineSearch).indexOf("\r\n");
            if (end < 0) {
                // A carriage return at the very end may pair with the next byte.
                m_lineSearch = size - 1;
                return;
            }
            m_read = m_lineSearch + end + 2;
            if (m_size == 0) {
                m_result = DechunkResult::Complete;
                m_phase = Phase::Done;
                return;
            }
            m_left = m_size;
            m_phase = Phase::Data;
            break;
        }
        case Phase::Data: {
            const qsizetype available = size - m_read;
            const qsizetype take =
                m_left > static_cast<std::uint64_t>(available) ? available : static_cast<qsizetype>(m_left);
            if (m_write != m_read)
                std::memmove(bytes + m_write, bytes + m_read, static_cast<size_t>(take));
            m_write += take;
            m_read += take;
            m_left -= static_cast<std::uint64_t>(take);
            if (m_left == 0)
                m_phase = Phase::AfterData;
            break;
        }
        case Phase::AfterData:
            if (bytes[m_read] == '\r')
                ++m_read;
            m_phase = Phase::AfterCarriageReturn;
            break;
        case Phase::AfterCarriageReturn:
            if (bytes[m_read] == '\n')
                ++m_read;
            m_phase = Phase::Space;
            break;
        case Phase::Done:
            return;
        }
    }
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
