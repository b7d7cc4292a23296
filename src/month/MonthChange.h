#pragma once

#include "Records.h"

#include <QString>

#include <span>

// What changed from one state of a member's month to another, for its history: a line for each
// day whose class, times or hours differ ("12/03 通常出勤 09:00-18:00 8.00/0.00/0.00/1.00 → 公休日
// -"), then a line of the totals when they differ. Days are matched by date; a day on one side
// only is "なし" on the other.
QString describeMonthChange(const MonthHeader& before, std::span<const DayRow> beforeRows,
                            const MonthHeader& after, std::span<const DayRow> afterRows);

// The line of a changed period allowance: "週40時間勤務上限 168 → 152".
QString allowanceChange(double before, double after);
