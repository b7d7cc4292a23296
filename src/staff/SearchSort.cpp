#include "SearchSort.h"

Qt::SortOrder SearchSort::click(int column)
{
    const int order = column != m_sortCol ? 0 : 1 - m_sortOrder;
    m_sortOrder = order;
    m_sortCol = column;
    return order == 0 ? Qt::AscendingOrder : Qt::DescendingOrder;
}
