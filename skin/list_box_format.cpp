#include "skin/list_box_format.h"

#include "core/number_text.h"

#include <cmath>

using namespace Qt::StringLiterals;

QString FormatInt(int v, int emptyValue, int noDataValue, const QString& noDataText) {
    if (v == emptyValue)
        return QString();
    if (v == noDataValue)
        return noDataText;
    return number_text::FormatGrouped(v);
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
    return number_text::GroupDigits(text);
}
