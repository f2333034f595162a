#pragma once

#include <QChar>
#include <QString>

// Character tests for data text (numbers, escapes, references, dates), where only ASCII counts: QChar's own
// tests also accept other scripts' digits and letters and Unicode spaces. Inline, as parsers call them for
// every character.

constexpr bool IsAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

constexpr bool IsAsciiLetter(QChar c) {
    const auto lower = static_cast<char16_t>(c.unicode() | 0x20);
    return lower >= u'a' && lower <= u'z';
}

// The value of a hexadecimal digit (either case), -1 for any other character.
constexpr int HexDigitValue(QChar c) {
    if (IsAsciiDigit(c))
        return c.unicode() - u'0';
    const auto lower = static_cast<char16_t>(c.unicode() | 0x20);
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// scanf's white space in the C locale: blank, tab, LF, VT, FF and CR.
constexpr bool IsCSpace(QChar c) {
    return c.unicode() == u' ' || (c.unicode() >= u'\t' && c.unicode() <= u'\r');
}

// Appends one Unicode scalar value, as a surrogate pair above U+FFFF.
inline void AppendCodePoint(QString& out, char32_t codePoint) {
    if (QChar::requiresSurrogates(codePoint)) {
        out.append(QChar(QChar::highSurrogate(codePoint)));
        out.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        out.append(QChar(static_cast<char16_t>(codePoint)));
    }
}
