#include "skin/list_box_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A number printed in Latin-1, as one text with its digits grouped as GroupDigits groups them: the grid
// prints a number into every cell it exports or offers, so this makes one string, not three.
QString GroupedText(const char* text, qsizetype size) {
    const qsizetype first = size > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    qsizetype end = first;
    while (end < size && text[end] >= '0' && text[end] <= '9')
        ++end;
    const qsizetype digits = end - first;
    QString out(size + (digits > 0 ? (digits - 1) / 3 : 0), Qt::Uninitialized);
    QChar* to = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (i > first && i < end && (end - i) % 3 == 0)
            *to++ = u',';
        *to++ = QLatin1Char(text[i]);
    }
    return out;
}

} // namespace

QString GroupDigits(const QString& text) {
    const qsizetype first = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    qsizetype end = first;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
        ++end;
    QString out = text;
    for (qsizetype at = end - 3; at > first; at -= 3)
        out.insert(at, u',');
    return out;
}

QString FormatInt(int v, int emptyValue, int noDataValue, const QString& noDataText) {
    if (v == emptyValue)
        return QString();
    if (v == noDataValue)
        return noDataText;
    std::array<char, 16> buffer;
    const auto printed = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
    return GroupedText(buffer.data(), printed.ptr - buffer.data());
}

QString FormatFloat(float v, bool trimZeros, float emptyValue, float noDataValue) {
    if (v == emptyValue)
        return QString();
    if (v == noDataValue || std::isnan(v))
        return u"No Data"_s;
    // As number_text::FormatFixed(v, 2) prints it.
    std::array<char, 420> buffer;
    const auto printed =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), double(v), std::chars_format::fixed, 2);
    qsizetype size = printed.ptr - buffer.data();
    if (trimZeros && std::find(buffer.data(), printed.ptr, '.') != printed.ptr) {
        while (buffer[size_t(size - 1)] == '0')
            --size;
        if (buffer[size_t(size - 1)] == '.')
            --size;
    }
    return GroupedText(buffer.data(), size);
}
