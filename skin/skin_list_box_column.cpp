#include "skin/skin_list_box_column.h"

const skin::ColumnFilterIndex& CSkinListBox_Column::FilterIndex() {
    if (!m_filterIndex || !m_filterIndex->IsFor(filterType, values, values2)) {
        m_filterIndex = std::make_shared<const skin::ColumnFilterIndex>(filterType, values, values2);
    }
    return *m_filterIndex;
}
