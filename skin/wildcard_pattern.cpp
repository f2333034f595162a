#include "skin/wildcard_pattern.h"

#include <algorithm>

namespace skin {

namespace {

// The code point ending just before at, or starting at at, with surrogate pairs joined.
char32_t CodePointBefore(QStringView text, qsizetype at) {
    const QChar c = text[at - 1];
    if (c.isLowSurrogate() && at >= 2 && text[at - 2].isHighSurrogate()) {
        return QChar::surrogateToUcs4(text[at - 2], c);
    }
    return c.unicode();
}

char32_t CodePointAt(QStringView text, qsizetype at) {
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        return QChar::surrogateToUcs4(c, text[at + 1]);
    }
    return c.unicode();
}

// Beside an occurrence a space always passes, a letter only where the pattern has a star on that side, and
// anything else (a digit, punctuation) never.
bool NeighbourAccepted(char32_t neighbour, bool star) {
    return neighbour == u' ' || (star && QChar::isLetter(neighbour));
}

inline char16_t FoldUnit(char16_t unit) {
    if (unit < 0x80) [[likely]] {
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit | 0x20) : unit;
    }
    return QChar::isSurrogate(unit) ? unit : QChar::toCaseFolded(unit);
}

} // namespace

WildcardPattern::WildcardPattern(const QString& pattern)
    : m_leadingStar(pattern.startsWith(u'*')), m_trailingStar(pattern.endsWith(u'*')) {
    qsizetype first = 0;
    qsizetype last = pattern.size();
    while (first < last && pattern[first] == u'*') {
        ++first;
    }
    while (last > first && pattern[last - 1] == u'*') {
        --last;
    }
    m_core = pattern.mid(first, last - first);
    if (std::none_of(m_core.begin(), m_core.end(), [](QChar c) { return c.isSurrogate(); })) {
        for (const QChar c : m_core) {
            m_folded.push_back(FoldUnit(c.unicode()));
        }
        const std::size_t length = m_folded.size();
        const unsigned char longest = static_cast<unsigned char>(std::min<std::size_t>(length, 255));
        m_skip.fill(longest);
        for (std::size_t k = 0; k + 1 < length; ++k) {
            unsigned char& skip = m_skip[m_folded[k] & 0xFF];
            skip = static_cast<unsigned char>(std::min<std::size_t>(skip, length - 1 - k));
        }
    }
}

qsizetype WildcardPattern::FindIn(QStringView text) const {
    if (m_core.isEmpty()) {
        return 0;
    }
    for (qsizetype from = 0; from <= text.size() - m_core.size();) {
        const qsizetype at = FindCore(text, from);
        if (at < 0) {
            return -1;
        }
        if (StartAccepted(text, at) && EndAccepted(text, at + m_core.size())) {
            return at;
        }
        from = at + 1;
    }
    return -1;
}

qsizetype WildcardPattern::FindCore(QStringView text, qsizetype from) const {
    const qsizetype length = m_core.size();
    const qsizetype last = text.size() - length;
    if (m_folded.empty()) {
        for (qsizetype at = from; at <= last; ++at) {
            if (text.sliced(at, length).compare(m_core, Qt::CaseInsensitive) == 0) {
                return at;
            }
        }
        return -1;
    }
    // Unit by unit (a simple case folding never moves a character between the basic plane and the others),
    // judging each window by its last unit first and moving on as far as that unit allows.
    const char16_t* units = text.utf16();
    const std::size_t tail = static_cast<std::size_t>(length) - 1;
    for (qsizetype at = from; at <= last;) {
        const char16_t end = FoldUnit(units[at + length - 1]);
        if (end == m_folded[tail]) {
            std::size_t k = 0;
            while (k < tail && FoldUnit(units[at + static_cast<qsizetype>(k)]) == m_folded[k]) {
                ++k;
            }
            if (k == tail) {
                return at;
            }
        }
        at += m_skip[end & 0xFF];
    }
    return -1;
}

bool WildcardPattern::StartAccepted(QStringView text, qsizetype at) const {
    return at == 0 || NeighbourAccepted(CodePointBefore(text, at), m_leadingStar);
}

bool WildcardPattern::EndAccepted(QStringView text, qsizetype at) const {
    return at == text.size() || NeighbourAccepted(CodePointAt(text, at), m_trailingStar);
}

} // namespace skin
