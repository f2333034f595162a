#include "core/number_text.h"

#include "core/char_codes.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <string_view>

namespace number_text {

namespace {

bool IsWordChar(QChar c) {
    return IsAsciiDigit(c) || IsAsciiLetter(c) || c == u'_';
}

// Case-insensitive match of an ASCII lower-case word at position i.
bool HasWordAt(QStringView text, qsizetype i, std::string_view word) {
    if (text.size() - i < static_cast<qsizetype>(word.size()))
        return false;
    for (size_t k = 0; k < word.size(); ++k) {
        char16_t c = text[i + static_cast<qsizetype>(k)].unicode();
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != static_cast<char16_t>(word[k]))
            return false;
    }
    return true;
}

// Where a number starts after leading white space and an optional sign, which sets negative.
qsizetype SkipSpaceAndSign(QStringView text, bool& negative) {
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    return i;
}

// The shape of one number as scanf would take it, with what is needed to tell overflow from underflow.
struct FloatShape {
    qsizetype end = 0;        // index just after the number
    qsizetype digitsFrom = 0; // where the text handed to from_chars begins
    bool hex = false;
    long long magnitude = 0; // rough power of the base of the first significant digit (>0: at least 1)
};

long long ReadExponent(QStringView text, qsizetype& i) {
    qsizetype j = i + 1;
    bool negative = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
        negative = text[j] == u'-';
        ++j;
    }
    if (j >= text.size() || !IsAsciiDigit(text[j]))
        return 0; // "1e" or "1e+" reads as 1: the letter is not part of the number
    long long exponent = 0;
    while (j < text.size() && IsAsciiDigit(text[j])) {
        exponent = std::min<long long>(exponent * 10 + (text[j].unicode() - u'0'), 1'000'000'000LL);
        ++j;
    }
    i = j;
    return negative ? -exponent : exponent;
}

// Mantissa digits, optional point and fraction, optional exponent; false when no digit stands there.
bool ScanMantissa(QStringView text, qsizetype from, bool hex, FloatShape& shape) {
    auto isMantissaDigit = [hex](char16_t c) { return hex ? HexDigitValue(c) >= 0 : IsAsciiDigit(c); };
    qsizetype i = from;
    long long integerDigits = 0; // significant digits before the point
    long long leadingZeros = 0;  // zeros after the point before the first significant digit
    bool significant = false;
    bool anyDigit = false;
    while (i < text.size() && isMantissaDigit(text[i].unicode())) {
        significant = significant || text[i] != u'0';
        if (significant)
            ++integerDigits;
        anyDigit = true;
        ++i;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && isMantissaDigit(text[i].unicode())) {
            if (!significant && text[i] == u'0')
                ++leadingZeros;
            significant = significant || text[i] != u'0';
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return false;
    long long exponent = 0;
    const char16_t exponentLetter = hex ? u'p' : u'e';
    if (i < text.size() && (text[i].unicode() | 0x20) == exponentLetter)
        exponent = ReadExponent(text, i);
    const long long digitWeight = hex ? 4 : 1;
    shape.end = i;
    shape.digitsFrom = from;
    shape.hex = hex;
    shape.magnitude = (integerDigits > 0 ? integerDigits : -leadingZeros) * digitWeight + exponent;
    return true;
}

template <typename T> std::optional<T> ReadFloating(QStringView text, qsizetype* end) {
    if (end)
        *end = 0;
    bool negative = false;
    qsizetype i = SkipSpaceAndSign(text, negative);
    auto finish = [&](T value, qsizetype stop) -> std::optional<T> {
        if (end)
            *end = stop;
        return negative ? -value : value;
    };

    if (HasWordAt(text, i, "inf"))
        return finish(std::numeric_limits<T>::infinity(), i + (HasWordAt(text, i, "infinity") ? 8 : 3));
    if (HasWordAt(text, i, "nan")) {
        qsizetype stop = i + 3;
        if (stop < text.size() && text[stop] == u'(') {
            qsizetype j = stop + 1;
            while (j < text.size() && IsWordChar(text[j]))
                ++j;
            if (j < text.size() && text[j] == u')')
                stop = j + 1;
        }
        return finish(std::numeric_limits<T>::quiet_NaN(), stop);
    }

    FloatShape shape;
    const bool hexPrefix = i + 1 < text.size() && text[i] == u'0' && (text[i + 1].unicode() | 0x20) == u'x';
    if (!(hexPrefix && ScanMantissa(text, i + 2, true, shape)) && !ScanMantissa(text, i, false, shape))
        return std::nullopt;

    // Only the characters of the number itself are copied, so reading stays linear in what is read.
    QVarLengthArray<char, 64> ascii;
    for (qsizetype k = shape.digitsFrom; k < shape.end; ++k)
        ascii.append(static_cast<char>(text[k].unicode()));
    T value{};
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value,
                                        shape.hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = shape.magnitude > 0 ? std::numeric_limits<T>::max() : T{0};
    return finish(value, shape.end);
}

} // namespace

std::optional<qint64> ReadInt64(QStringView text, qsizetype* end) {
    if (end)
        *end = 0;
    bool negative = false;
    qsizetype i = SkipSpaceAndSign(text, negative);
    if (i >= text.size() || !IsAsciiDigit(text[i]))
        return std::nullopt;
    // Accumulated as a negative number: its range holds the minimum exactly.
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    bool saturated = false;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        const int digit = text[i].unicode() - u'0';
        if (saturated || value < (kMin + digit) / 10) {
            saturated = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (end)
        *end = i;
    if (saturated)
        return negative ? kMin : std::numeric_limits<qint64>::max();
    if (!negative)
        return value == kMin ? std::numeric_limits<qint64>::max() : -value;
    return value;
}

std::optional<int> ReadInt(QStringView text, qsizetype* end) {
    const std::optional<qint64> wide = ReadInt64(text, end);
    if (!wide)
        return std::nullopt;
    return static_cast<int>(
        std::clamp<qint64>(*wide, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::optional<double> ReadDouble(QStringView text, qsizetype* end) {
    return ReadFloating<double>(text, end);
}

std::optional<float> ReadFloat(QStringView text, qsizetype* end) {
    return ReadFloating<float>(text, end);
}

QString FormatInt(qint64 value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString FormatGrouped(qint64 value) {
    return GroupDigits(FormatInt(value));
}

QString GroupDigits(QString number) {
    const qsizetype digitsStart = number.startsWith(u'-') ? 1 : 0;
    qsizetype point = number.indexOf(u'.');
    if (point < 0)
        point = number.size();
    for (qsizetype at = point - 3; at > digitsStart; at -= 3)
        number.insert(at, u',');
    return number;
}

QString FormatFixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 100);
    // The largest double has 309 integer digits; sign, point and decimals come on top.
    std::array<char, 420> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace number_text
