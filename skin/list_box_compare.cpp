#include "skin/list_box_compare.h"

#include "core/number_text.h"

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// +1 (a after b) when ascending, -1 when descending: once the grid negates a descending result, a value
// answered this way lands last both ways.
int Last(bool descending) {
    return descending ? -1 : 1;
}

int Sign(double a, double b) {
    return a > b ? 1 : (a < b ? -1 : 0);
}

bool IsNoDataText(const QString& text) {
    return text.isEmpty() || text == "N/A"_L1 || text == "-"_L1;
}

QString TrimChars(const QString& text, const QString& chars) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && chars.contains(text[from]))
        ++from;
    while (to > from && chars.contains(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// A number read as "%f" does; NaN counts as nothing read, so the comparison stays a strict order.
std::optional<double> ReadNumber(const QString& text) {
    const std::optional<double> v = number_text::ReadDouble(text);
    if (!v || std::isnan(*v))
        return std::nullopt;
    return v;
}

} // namespace

int CompareNumberTexts(const QString& a, const QString& b, bool numeric, const QString& trimChars,
                       QChar separator, bool descending) {
    const bool aNoData = IsNoDataText(a);
    const bool bNoData = IsNoDataText(b);
    if (aNoData != bNoData)
        return aNoData ? Last(descending) : -Last(descending);
    if (numeric && !aNoData) {
        QString ta = TrimChars(a, trimChars);
        QString tb = TrimChars(b, trimChars);
        ta.remove(u',');
        tb.remove(u',');
        const std::optional<double> va = ReadNumber(ta);
        const std::optional<double> vb = ReadNumber(tb);
        if (const int r = Sign(va.value_or(0.0), vb.value_or(0.0)))
            return r;
        if (va.has_value() != vb.has_value())
            return va ? 1 : -1;
        const bool aStarts = a.startsWith(separator);
        const bool bStarts = b.startsWith(separator);
        if (aStarts != bStarts)
            return aStarts ? -Last(descending) : Last(descending);
        const auto afterSeparator = [separator](const QString& text) {
            const qsizetype at = text.indexOf(separator);
            return ReadNumber(text.mid(at + 1).trimmed()).value_or(0.0);
        };
        if (const int r = Sign(afterSeparator(a), afterSeparator(b)))
            return r;
    }
    const int r = QString::compare(a, b, Qt::CaseSensitive);
    return r > 0 ? 1 : (r < 0 ? -1 : 0);
}
