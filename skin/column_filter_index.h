#pragma once

#include "skin/folded_string_set.h"
#include "skin/wildcard_pattern.h"

#include <QStringList>
#include <QStringMatcher>
#include <QStringView>
#include <vector>

namespace skin {

// What the text filters of one column need to test a cell quickly, made once from the column's lists instead
// of once per row: the wildcard patterns of an include / exclude filter, the folded ticked values of an
// exact check list, a substring search per ticked value of a containing one. It keeps the lists it was made
// from: they stay shared with the column's until the column's change, so a change is seen at once.
class ColumnFilterIndex {
  public:
    ColumnFilterIndex(int filterType, const QStringList& values, const QStringList& values2);

    bool IsFor(int filterType, const QStringList& values, const QStringList& values2) const;

    // Include / exclude patterns: no exclude pattern matches, and an include pattern does when there are any.
    bool AcceptsByPatterns(QStringView text) const;
    // Equal to a ticked value, ignoring case.
    bool AcceptsExact(QStringView text) const;
    // Holds a ticked value (case-sensitive); empty values are skipped.
    bool AcceptsContaining(QStringView text) const;

  private:
    int m_filterType;
    QStringList m_values;
    QStringList m_values2;
    std::vector<WildcardPattern> m_include;
    std::vector<WildcardPattern> m_exclude;
    FoldedStringSet m_ticked;
    std::vector<QStringMatcher> m_contained;
};

} // namespace skin
