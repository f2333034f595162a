#include "net/utf8_writer.h"

#include <QChar>
#include <algorithm>
#include <cstring>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

void Utf8Writer::reserve(qsizetype bytes) {
    if (m_end - m_at >= bytes)
        return;
    qsizetype used = m_at ? m_at - m_bytes.data() : 0;
    if (m_sink && used >= m_chunkBytes) {
        m_ok = m_ok && m_sink(QByteArrayView(m_bytes.constData(), used));
        used = 0;
        m_at = m_bytes.data();
        if (m_end - m_at >= bytes)
            return;
    }
    const qsizetype wanted = std::max<qsizetype>({used + bytes, 2 * m_bytes.size(), 4096});
    m_bytes.resize(wanted);
    m_at = m_bytes.data() + used;
    m_end = m_bytes.data() + m_bytes.size();
}

void Utf8Writer::Put(char32_t codePoint) {
    if (codePoint < 0x80) {
        *m_at++ = char(codePoint);
    } else if (codePoint < 0x800) {
        *m_at++ = char(0xC0 | (codePoint >> 6));
        *m_at++ = char(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *m_at++ = char(0xE0 | (codePoint >> 12));
        *m_at++ = char(0x80 | ((codePoint >> 6) & 0x3F));
        *m_at++ = char(0x80 | (codePoint & 0x3F));
    } else {
        *m_at++ = char(0xF0 | (codePoint >> 18));
        *m_at++ = char(0x80 | ((codePoint >> 12) & 0x3F));
        *m_at++ = char(0x80 | ((codePoint >> 6) & 0x3F));
        *m_at++ = char(0x80 | (codePoint & 0x3F));
    }
}

void Utf8Writer::Append(QStringView text) {
    // Three bytes per character at most, four for a pair (two characters), plus a pending replacement.
    reserve(text.size() * 3 + 3);
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (m_pendingHigh != 0 && n > 0) {
        if (QChar::isLowSurrogate(chars[0])) {
            Put(QChar::surrogateToUcs4(m_pendingHigh, chars[0]));
            i = 1;
        } else {
            Put(kReplacement);
        }
        m_pendingHigh = 0;
    }
    while (i < n) {
        const char16_t c = chars[i];
        if (c < 0x80) {
            *m_at++ = char(c);
            ++i;
            continue;
        }
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == n) {
                m_pendingHigh = c;
                return;
            }
            if (QChar::isLowSurrogate(chars[i + 1])) {
                Put(QChar::surrogateToUcs4(c, chars[i + 1]));
                i += 2;
                continue;
            }
            Put(kReplacement);
        } else {
            Put(QChar::isLowSurrogate(c) ? kReplacement : char32_t(c));
        }
        ++i;
    }
}

void Utf8Writer::AppendSpaces(qsizetype count) {
    if (count <= 0)
        return;
    if (m_pendingHigh != 0) {
        reserve(3);
        Put(kReplacement);
        m_pendingHigh = 0;
    }
    reserve(count);
    std::memset(m_at, ' ', size_t(count));
    m_at += count;
}

QByteArray Utf8Writer::Finish() {
    if (m_pendingHigh != 0) {
        reserve(3);
        Put(kReplacement);
        m_pendingHigh = 0;
    }
    m_bytes.truncate(m_at ? m_at - m_bytes.constData() : 0);
    m_at = m_end = nullptr;
    if (m_sink) {
        m_ok = m_ok && m_sink(m_bytes);
        m_bytes = QByteArray();
    }
    return std::exchange(m_bytes, QByteArray());
}
