#pragma once

#include <QChar>
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

} // namespace skin::fold
