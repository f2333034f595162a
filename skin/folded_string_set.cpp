#include "skin/folded_string_set.h"

#include <QChar>
#include <cstdint>
#include <cstring>

namespace skin {

namespace {

// Texts are folded four UTF-16 units at a time, as one 64-bit word; most texts of reports are ASCII, whose
// words fold without a table.
constexpr std::uint64_t kLanes = 0x0001000100010001ull;
constexpr std::uint64_t kNonAscii = 0xFF80 * kLanes;

std::uint64_t Load(const char16_t* units) {
    std::uint64_t word;
    std::memcpy(&word, units, sizeof word);
    return word;
}

// Every lane of word holds an ASCII character: 'A' to 'Z' become lower case.
std::uint64_t FoldAsciiWord(std::uint64_t word) {
    const std::uint64_t atLeastA = (word + (0x80 - 'A') * kLanes) & (0x80 * kLanes);
    const std::uint64_t pastZ = (word + (0x80 - 'Z' - 1) * kLanes) & (0x80 * kLanes);
    return word | ((atLeastA & ~pastZ) >> 2);
}

// The folded form of the unit at i of text, as QString's case-insensitive comparison folds it: a character
// of the basic plane by itself, a low surrogate together with the high one before it (simple case folding
// keeps every character in its 1,024-character block, so a high surrogate never changes).
char16_t FoldUnitAt(const char16_t* units, qsizetype i) {
    const char16_t unit = units[i];
    if (unit < 0x80) {
        return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit | 0x20) : unit;
    }
    if (QChar::isLowSurrogate(unit) && i > 0 && QChar::isHighSurrogate(units[i - 1])) {
        return QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(units[i - 1], unit)));
    }
    return QChar::isSurrogate(unit) ? unit : QChar::toCaseFolded(unit);
}

// The folded word of up to four units from i on; missing units are 0.
std::uint64_t FoldedWord(const char16_t* units, qsizetype i, qsizetype n) {
    if (i + 4 <= n) {
        const std::uint64_t word = Load(units + i);
        if ((word & kNonAscii) == 0) {
            return FoldAsciiWord(word);
        }
    }
    std::uint64_t word = 0;
    for (qsizetype k = 0; k < 4 && i + k < n; ++k) {
        word |= std::uint64_t(FoldUnitAt(units, i + k)) << (16 * k);
    }
    return word;
}

} // namespace

std::size_t FoldedHash::operator()(QStringView text) const noexcept {
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    std::uint64_t hash = 0xCBF29CE484222325ull ^ std::uint64_t(n);
    for (qsizetype i = 0; i < n; i += 4) {
        hash = (hash ^ FoldedWord(units, i, n)) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    return static_cast<std::size_t>(hash);
}

bool FoldedEqual::operator()(QStringView a, QStringView b) const noexcept {
    // Simple case folding keeps every character in its plane, so it never changes a text's length.
    const qsizetype n = a.size();
    if (n != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < n; i += 4) {
        if (FoldedWord(a.utf16(), i, n) != FoldedWord(b.utf16(), i, n)) {
            return false;
        }
    }
    return true;
}

} // namespace skin
