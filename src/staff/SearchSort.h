#pragma once

#include <Qt>

// The sort state of the staff search list. A click on a column header sorts ascending by a
// column other than the last one clicked, and toggles the order for the same column. A new
// search keeps the state, so the next click on that column reverses its last order.
class SearchSort {
public:
    static constexpr int kNoColumn = 999;

    // The order to apply for a click on column (numbered from 1).
    Qt::SortOrder click(int column);

private:
    int m_sortCol = kNoColumn;
    int m_sortOrder = 0;
};
