#include "skin/column_filter_index.h"

#include "skin/skin_list_box_column.h"

#include <algorithm>

namespace skin {

ColumnFilterIndex::ColumnFilterIndex(int filterType, const QStringList& values, const QStringList& values2)
    : m_filterType(filterType), m_values(values), m_values2(values2) {
    switch (filterType) {
    case CSkinListBox_Column::kFilterIncludeExclude:
        m_include.reserve(static_cast<std::size_t>(values.size()));
        for (const QString& pattern : values)
            m_include.emplace_back(pattern);
        m_exclude.reserve(static_cast<std::size_t>(values2.size()));
        for (const QString& pattern : values2)
            m_exclude.emplace_back(pattern);
        break;
    case CSkinListBox_Column::kFilterExactValues:
        m_ticked = FoldedStringSet(values.begin(), values.end());
        break;
    case CSkinListBox_Column::kFilterContainedValues:
        for (const QString& value : values)
            if (!value.isEmpty())
                m_contained.emplace_back(value, Qt::CaseSensitive);
        break;
    default:
        break;
    }
}

bool ColumnFilterIndex::AcceptsByPatterns(QStringView text) const {
    const auto matches = [text](const WildcardPattern& p) { return p.FindIn(text) >= 0; };
    // Most rows of a filtered report fail the include patterns: they are asked first.
    if (!m_include.empty() && std::none_of(m_include.begin(), m_include.end(), matches))
        return false;
    return std::none_of(m_exclude.begin(), m_exclude.end(), matches);
}

bool ColumnFilterIndex::AcceptsExact(QStringView text) const {
    return m_ticked.Contains(text);
}

bool ColumnFilterIndex::AcceptsContaining(QStringView text) const {
    return std::any_of(
        m_contained.begin(), m_contained.end(),
        [text](const QStringMatcher& m) { return m.indexIn(text) >= 0; });
}

} // namespace skin
