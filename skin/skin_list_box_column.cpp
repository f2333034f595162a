#include "skin/skin_list_box_column.h"

void CSkinListBox_Column::PrepareFilter() {
    m_filterIndex = std::make_shared<const skin::ColumnFilterIndex>(filterType, values, values2);
}
