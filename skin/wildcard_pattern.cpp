#include "skin/wildcard_pattern.h"

#include "skin/case_fold.h"

#include <algorithm>
#include <bit>

namespace skin {

namespace {

using fold::FoldUnitAt;

// The code point ending just before at, or starting at at, with surrogate pairs joined.
char32_t CodePointBefore(QStringView text, qsizetype at) {
    const QChar c = text[at - 1];
    if (c.isLowSurrogate() && at >= 2 && text[at - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[at - 2], c);
    return c.unicode();
}

char32_t CodePointAt(QStringView text, qsizetype at) {
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[at + 1]);
    return c.unicode();
}

// Beside an occurrence a space always passes, a letter only where the pattern has a star on that side, and
// anything else (a digit, punctuation) never.
bool NeighbourAccepted(char32_t neighbour, bool star) {
    return neighbour == u' ' || (star && QChar::isLetter(neighbour));
}

// Lanes of the four units from at on whose folded form is first: bit 16 k + 15 for lane k. A lane after a
// hit may be marked too; candidates are checked in full anyway.
std::uint64_t FirstUnitHits(const char16_t* units, qsizetype at, char16_t first) {
    const std::uint64_t word = fold::LoadWord(units + at);
    if ((word & fold::kNonAscii) == 0) {
        const std::uint64_t diff = fold::FoldAsciiWord(word) ^ (first * fold::kLanes);
        return (diff - fold::kLanes) & ~diff & (0x8000 * fold::kLanes);
    }
    std::uint64_t hits = 0;
    for (int k = 0; k < 4; ++k)
        if (FoldUnitAt(units, at + k) == first)
            hits |= std::uint64_t(0x8000) << (16 * k);
    return hits;
}

} // namespace

WildcardPattern::WildcardPattern(const QString& pattern)
    : m_leadingStar(pattern.startsWith(u'*')), m_trailingStar(pattern.endsWith(u'*')) {
    qsizetype first = 0;
    qsizetype last = pattern.size();
    while (first < last && pattern[first] == u'*')
        ++first;
    while (last > first && pattern[last - 1] == u'*')
        --last;
    m_core = pattern.mid(first, last - first);
    m_folded.resize(static_cast<std::size_t>(m_core.size()));
    for (qsizetype i = 0; i < m_core.size(); ++i)
        m_folded[static_cast<std::size_t>(i)] = FoldUnitAt(QStringView(m_core).utf16(), i);
}

qsizetype WildcardPattern::FindIn(QStringView text) const {
    if (m_core.isEmpty())
        return 0;
    for (qsizetype from = 0; from <= text.size() - m_core.size();) {
        const qsizetype at = FindCore(text, from);
        if (at < 0)
            return -1;
        if (StartAccepted(text, at) && EndAccepted(text, at + m_core.size()))
            return at;
        from = at + 1;
    }
    return -1;
}

qsizetype WildcardPattern::FindCore(QStringView text, qsizetype from) const {
    const char16_t* units = text.utf16();
    const qsizetype length = static_cast<qsizetype>(m_folded.size());
    const qsizetype last = text.size() - length;
    // An occurrence is folded unit for unit like the core (folding never changes a text's length); a low
    // surrogate is folded with the high one before it, as QString compares.
    const auto matchesAt = [&](qsizetype at) {
        if (at > 0 && QChar::isLowSurrogate(units[at]) && QChar::isHighSurrogate(units[at - 1])) {
            return false; // the middle of a character
        }
        for (qsizetype k = 1; k < length; ++k) {
            if (FoldUnitAt(units, at + k) != m_folded[static_cast<std::size_t>(k)]) {
                return false;
            }
        }
        return true;
    };
    // Candidates are found by their first unit, four places at a time while four units remain.
    qsizetype at = from;
    for (; at <= last && at + 4 <= text.size(); at += 4) {
        for (std::uint64_t hits = FirstUnitHits(units, at, m_folded[0]); hits != 0; hits &= hits - 1) {
            const qsizetype place = at + std::countr_zero(hits) / 16;
            if (place <= last && matchesAt(place))
                return place;
        }
    }
    for (; at <= last; ++at)
        if (FoldUnitAt(units, at) == m_folded[0] && matchesAt(at))
            return at;
    return -1;
}

bool WildcardPattern::StartAccepted(QStringView text, qsizetype at) const {
    return at == 0 || NeighbourAccepted(CodePointBefore(text, at), m_leadingStar);
}

bool WildcardPattern::EndAccepted(QStringView text, qsizetype at) const {
    return at == text.size() || NeighbourAccepted(CodePointAt(text, at), m_trailingStar);
}

} // namespace skin
