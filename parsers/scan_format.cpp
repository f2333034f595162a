#include "parsers/scan_format.h"

#include "core/char_codes.h"
#include "core/number_text.h"

#include <cmath>

namespace {

qsizetype SkipSpace(QStringView text, qsizetype i) {
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    return i;
}

} // namespace

int ScanFormat(QStringView text, QStringView format, std::initializer_list<ScanOutput> outputs) {
    const ScanOutput* output = outputs.begin();
    int stored = 0;
    qsizetype at = 0;
    for (qsizetype f = 0; f < format.size(); ++f) {
        const QChar c = format[f];
        if (IsCSpace(c)) {
            at = SkipSpace(text, at);
            continue;
        }
        if (c != u'%' || f + 1 >= format.size()) {
            if (at >= text.size() || text[at] != c)
                return stored;
            ++at;
            continue;
        }
        const QChar conversion = format[++f];
        if (conversion == u'%') {
            at = SkipSpace(text, at);
            if (at >= text.size() || text[at] != u'%')
                return stored;
            ++at;
            continue;
        }
        if (output == outputs.end())
            return stored;
        qsizetype end = 0;
        const QStringView rest = text.mid(at);
        if (conversion == u'd' && output->m_int) {
            const std::optional<int> value = number_text::ReadInt(rest, &end);
            if (!value)
                return stored;
            *output->m_int = *value;
        } else if (conversion == u'f' && output->m_float) {
            const std::optional<float> value = number_text::ReadFloat(rest, &end);
            if (!value || !std::isfinite(*value))
                return stored;
            *output->m_float = *value;
        } else {
            return stored;
        }
        at += end;
        ++output;
        ++stored;
    }
    return stored;
}
