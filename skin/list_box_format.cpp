#include "skin/list_box_format.h"

#include "core/number_text.h"

#include <cmath>

using namespace Qt::StringLiterals;

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
    return GroupDigits(number_text::FormatInt(v));
}

QString FormatFloat(float v, bool trimZeros, float emptyValue, float noDataValue) {
    if (v == emptyValue)
        return QString();
    if (v == noDataValue || std::isnan(v))
        return u"No Data"_s;
    QString text = number_text::FormatFixed(v, 2);
    if (trimZeros && text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return GroupDigits(text);
}
