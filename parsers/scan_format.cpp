#include "parsers/scan_format.h"

#include "core/number_text.h"

namespace {

// scanf's white space in the C locale.
bool isCSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

qsizetype skipSpace(QStringView text, qsizetype i) {
    while (i < text.size() && isCSpace(text[i]))
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
        if (isCSpace(c)) {
            at = skipSpace(text, at);
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
            at = skipSpace(text, at);
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
            const std::optional<int> value = number_text::readInt(rest, &end);
            if (!value)
                return stored;
            *output->m_int = *value;
        } else if (conversion == u'f' && output->m_float) {
            const std::optional<float> value = number_text::readFloat(rest, &end);
            if (!value)
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
