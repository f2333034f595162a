#include "skin/sorted_strings.h"

#include <algorithm>

namespace {

// First entry not less than text, and whether it equals text.
std::pair<qsizetype, bool> Find(const QString& text, const QStringList& list, bool ignoreCase) {
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const auto at =
        std::lower_bound(list.begin(), list.end(), text, [cs](const QString& entry, const QString& t) {
            return QString::compare(entry, t, cs) < 0;
        });
    const bool equal = at != list.end() && QString::compare(*at, text, cs) == 0;
    return {at - list.begin(), equal};
}

} // namespace

void InsertSortedUnique(const QString& text, QStringList& list, bool ignoreCase, bool allowDuplicates) {
    const auto [at, equal] = Find(text, list, ignoreCase);
    if (equal && !allowDuplicates) {
        return;
    }
    list.insert(at, text);
}

bool ContainsSorted(const QString& text, const QStringList& list, bool ignoreCase) {
    return Find(text, list, ignoreCase).second;
}
