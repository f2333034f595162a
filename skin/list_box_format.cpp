#include "skin/list_box_format.h"

#include "core/number_text.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// ',' every three digits of the integer part, counted back from the point (or the end); a leading minus sign
// never gets one after it.
QString GroupThousands(const QString& number) {
    const qsizetype digitsStart = number.startsWith(u'-') ? 1 : 0;
    qsizetype point = number.indexOf(u'.');
    if (point < 0) {
        point = number.size();
    }
    QString out = number;
    for (qsizetype at = point - 3; at > digitsStart; at -= 3) {
        out.insert(at, u',');
    }
    return out;
}

} // namespace

QString FormatInt(int v, int emptyValue, int noDataValue, const QString& noDataText) {
    if (v == emptyValue) {
        return QString();
    }
    if (v == noDataValue) {
        return noDataText;
    }
    return GroupThousands(number_text::formatInt(v));
}

QString FormatFloat(float v, bool trimZeros, float emptyValue, float noDataValue) {
    if (v == emptyValue) {
        return QString();
    }
    if (v == noDataValue || std::isnan(v)) {
        return u"No Data"_s;
    }
    QString text = number_text::formatFixed(v, 2);
    if (trimZeros && text.contains(u'.')) {
        while (text.endsWith(u'0')) {
            text.chop(1);
        }
        if (text.endsWith(u'.')) {
            text.chop(1);
        }
    }
    return GroupThousands(text);
}
