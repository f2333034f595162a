#include "net/cookie_date.h"

#include "core/char_codes.h"

#include <QDate>
#include <QStringList>

namespace {

bool IsDelimiter(char16_t c) {
    return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

QStringList Tokens(const QString& text) {
    QStringList out;
    QString current;
    for (const QChar c : text) {
        if (IsDelimiter(c.unicode())) {
            if (!current.isEmpty())
                out.append(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        out.append(current);
    return out;
}

// Reads minDigits..maxDigits ASCII digits at pos; the character after them must not be a digit.
bool ReadNumber(const QString& token, qsizetype& pos, int minDigits, int maxDigits, int& value) {
    value = 0;
    int count = 0;
    while (pos < token.size() && IsAsciiDigit(token[pos]) && count < maxDigits) {
        value = value * 10 + (token[pos].unicode() - u'0');
        ++pos;
        ++count;
    }
    return count >= minDigits && (pos >= token.size() || !IsAsciiDigit(token[pos]));
}

bool ReadTime(const QString& token, int& hour, int& minute, int& second) {
    qsizetype pos = 0;
    if (!ReadNumber(token, pos, 1, 2, hour) || pos >= token.size() || token[pos] != u':')
        return false;
    ++pos;
    if (!ReadNumber(token, pos, 1, 2, minute) || pos >= token.size() || token[pos] != u':')
        return false;
    ++pos;
    return ReadNumber(token, pos, 1, 2, second);
}

bool ReadLeadingNumber(const QString& token, int minDigits, int maxDigits, int& value) {
    qsizetype pos = 0;
    return ReadNumber(token, pos, minDigits, maxDigits, value);
}

int MonthOf(const QString& token) {
    static const char16_t* const kMonths[] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                              u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
    if (token.size() < 3)
        return 0;
    const QString start = token.left(3).toLower();
    for (int i = 0; i < 12; ++i)
        if (start == QString::fromUtf16(kMonths[i]))
            return i + 1;
    return 0;
}

} // namespace

std::optional<std::int64_t> ParseCookieDate(const QString& text) {
    int hour = -1, minute = -1, second = -1, day = -1, month = 0, year = -1;
    bool haveTime = false;
    for (const QString& token : Tokens(text)) {
        int value = 0;
        if (!haveTime && ReadTime(token, hour, minute, second))
            haveTime = true;
        else if (day < 0 && ReadLeadingNumber(token, 1, 2, value))
            day = value;
        else if (month == 0 && MonthOf(token) != 0)
            month = MonthOf(token);
        else if (year < 0 && ReadLeadingNumber(token, 2, 4, value))
            year = value;
    }
    if (!haveTime || day < 0 || month == 0 || year < 0)
        return std::nullopt;
    if (year >= 70 && year <= 99)
        year += 1900;
    else if (year >= 0 && year <= 69)
        year += 2000;
    if (year < 1601 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    const std::int64_t days = QDate(1970, 1, 1).daysTo(date);
    return days * 86400 + hour * 3600 + minute * 60 + second;
}
