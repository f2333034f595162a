#pragma once

#include <QChar>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstring>

// Case folding of UTF-16 text as QString's case-insensitive comparison does it, for the column filters,
// which fold the cells of every row. Texts are mostly ASCII: four units are folded at a time as one 64-bit
// word, without a table. Simple case folding keeps every character in its plane and its 1,024-character
// block, so a folded text has the same length and the same high surrogates.
namespace skin::fold {

constexpr std::uint64_t kLanes = 0x0001000100010001ull;
constexpr std::uint64_t kNonAscii = 0xFF80 * kLanes;

inline std::uint64_t LoadWord(const char16_t* units) {
    std::uint64_t word;
    std::memcpy(&word, units, sizeof word);
    return word;
}

// Every lane of word holds an ASCII character: 'A' to 'Z' become lower case.
inline std::uint64_t FoldAsciiWord(std::uint64_t word) {
    const std::uint64_t atLeastA = (word + (0x80 - 'A') * kLanes) & (0x80 * kLanes);
    const std::uint64_t pastZ = (word + (0x80 - 'Z' - 1) * kLanes) & (0x80 * kLanes);
    return word | ((atLeastA & ~pastZ) >> 2);
}

// The unit at i folded: a character of the basic plane by itself, a low surrogate together with the high one
// before it.
inline char16_t FoldUnitAt(const char16_t* units, std::ptrdiff_t i) {
    const char16_t unit = units[i];
    if (unit < 0x80) [[likely]]
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit | 0x20) : unit;
    if (QChar::isLowSurrogate(unit) && i > 0 && QChar::isHighSurrogate(units[i - 1]))
        return QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(units[i - 1], unit)));
    return QChar::isSurrogate(unit) ? unit : QChar::toCaseFolded(unit);
}

// A unit as QString's case-insensitive comparison weighs it: folded, and a low surrogate after a high one
// (previous; 0 at the start) as the whole character it ends. ASCII is folded without a table look-up.
inline char32_t FoldedCode(char16_t unit, char16_t previous) {
    if (unit < 0x80) [[likely]]
        return unit >= u'A' && unit <= u'Z' ? char32_t{unit} | 0x20 : char32_t{unit};
    if (QChar::isLowSurrogate(unit) && QChar::isHighSurrogate(previous))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(previous, unit));
    return QChar::toCaseFolded(char32_t{unit});
}

// Orders a and b as QString::compare(a, b, Qt::CaseInsensitive) does (the same sign): the sorts and value
// lists of the reports compare mostly ASCII texts, which this folds without Qt's tables.
inline int CompareFolded(QStringView a, QStringView b) {
    const char16_t* x = a.utf16();
    const char16_t* y = b.utf16();
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        // Equal units fold alike: the units before them folded alike, so a surrogate pair's first half is
        // the same on both sides.
        if (x[i] == y[i])
            continue;
        const char16_t beforeX = i > 0 ? x[i - 1] : u'\0';
        const char16_t beforeY = i > 0 ? y[i - 1] : u'\0';
        const int diff = int(FoldedCode(x[i], beforeX)) - int(FoldedCode(y[i], beforeY));
        if (diff != 0)
            return diff;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace skin::fold
