#include "skin/value_format.h"

#include "core/number_text.h"

namespace skin {

QString FormatValue(const QString& format, qint64 value) {
    QString out;
    out.reserve(format.size() + 20);
    bool numberDone = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'%' && i + 1 < format.size()) {
            const QChar next = format[i + 1];
            if (next == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (next == u'd' && !numberDone) {
                out += number_text::FormatInt(value);
                numberDone = true;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace skin
