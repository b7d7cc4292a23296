#pragma once

#include <QPoint>

#include <array>

// Where the timesheet screen's day grid and its totals stand, in twips on the screen: 31 rows in
// two blocks side by side, 16 on the left and 15 on the right, whose 16th place holds the totals.
namespace DayGridLayout {

constexpr int kRowTop = 2010;
constexpr int kRowPitch = 345;
constexpr int kRowsInLeftBlock = 16;
constexpr int kLeftBlock = 120;
constexpr int kRightBlock = 6600;

struct Column {
    const char* title;
    int width;
};
enum ColumnIndex { Date, Week, Class, In, Out, Basic, Overtime, LateNight, Break, ColumnCount };
// The hour columns are as wide as their month totals need for 999.99.
constexpr std::array<Column, ColumnCount> kColumns{{{"日付", 360},
                                                    {"曜日", 360},
                                                    {"出勤区分", 1260},
                                                    {"出勤", 720},
                                                    {"退社", 720},
                                                    {"基本", 750},
                                                    {"残業", 750},
                                                    {"深夜", 750},
                                                    {"休憩", 750}}};

constexpr int columnLeft(int blockLeft, int column)
{
    int left = blockLeft;
    for (int c = 0; c < column; ++c)
        left += kColumns[c].width;
    return left;
}

constexpr int blockWidth()
{
    return columnLeft(0, ColumnCount);
}

// The top of the totals: the right block's 16th place.
constexpr int kTotalsTop = kRowTop + (kRowsInLeftBlock - 1) * kRowPitch;

// Where grid row n (1 to 31) stands: its block's left edge and its top.
constexpr QPoint rowOrigin(int n)
{
    const bool left = n <= kRowsInLeftBlock;
    const int slot = left ? n - 1 : n - kRowsInLeftBlock - 1;
    return {left ? kLeftBlock : kRightBlock, kRowTop + slot * kRowPitch};
}

} // namespace DayGridLayout
