#include "skin/sorted_strings.h"

#include "skin/case_fold.h"
#include "skin/folded_string_set.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace {

int Compare(const QString& a, const QString& b, bool ignoreCase) {
    return ignoreCase ? skin::fold::CompareFolded(a, b) : QString::compare(a, b, Qt::CaseSensitive);
}

struct Less {
    bool ignoreCase;
    bool operator()(const QString& a, const QString& b) const { return Compare(a, b, ignoreCase) < 0; }
};

// First entry not less than text, and whether it equals text.
std::pair<qsizetype, bool> Find(const QString& text, const QStringList& list, bool ignoreCase) {
    const auto at = std::lower_bound(list.begin(), list.end(), text, Less{ignoreCase});
    const bool equal = at != list.end() && Compare(*at, text, ignoreCase) == 0;
    return {at - list.begin(), equal};
}

// The texts not yet in list nor earlier among themselves, in their order.
template <class Set, class Insert>
QStringList NewTexts(const QStringList& texts, const QStringList& list, Insert insert) {
    Set seen;
    seen.reserve(static_cast<std::size_t>(list.size() + texts.size()));
    for (const QString& text : list)
        insert(seen, text);
    QStringList fresh;
    for (const QString& text : texts)
        if (insert(seen, text))
            fresh.append(text);
    return fresh;
}

} // namespace

void InsertSortedUnique(const QString& text, QStringList& list, bool ignoreCase, bool allowDuplicates) {
    const auto [at, equal] = Find(text, list, ignoreCase);
    if (equal && !allowDuplicates)
        return;
    list.insert(at, text);
}

void InsertSortedUnique(const QStringList& texts, QStringList& list, bool ignoreCase, bool allowDuplicates) {
    const Less less{ignoreCase};
    QStringList fresh;
    if (allowDuplicates) {
        // One by one, a text goes before the equal ones already there: the newest first.
        fresh = QStringList(texts.rbegin(), texts.rend());
    } else if (ignoreCase) {
        fresh = NewTexts<skin::FoldedStringSet>(
            texts, list, [](skin::FoldedStringSet& set, const QString& text) { return set.Insert(text); });
    } else {
        fresh = NewTexts<std::unordered_set<QString>>(
            texts, list,
            [](std::unordered_set<QString>& set, const QString& text) { return set.insert(text).second; });
    }
    std::stable_sort(fresh.begin(), fresh.end(), less);
    QStringList merged;
    merged.reserve(fresh.size() + list.size());
    std::merge(fresh.begin(), fresh.end(), list.begin(), list.end(), std::back_inserter(merged), less);
    list.swap(merged);
}

bool ContainsSorted(const QString& text, const QStringList& list, bool ignoreCase) {
    return Find(text, list, ignoreCase).second;
}
