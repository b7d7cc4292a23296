#pragma once

#include "Database.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"

#include <benchmark/benchmark.h>

// The store's part of the timesheet's 次へ: the next member with the month's totals, then the
// month's day rows, going round to the first member after the last.
inline void stepAndLoadMonths(benchmark::State& state, Database& db, const QString& month,
                              const QDate& first, int days)
{
    MonthHeader h{QString(), QString(), QString(), month, first, first.addDays(days - 1)};
    FirstStaffMonth(db, h);
    for (auto _ : state) {
        if (!NextStaffMonth(db, h))
            FirstStaffMonth(db, h);
        std::vector<DayRow> rows = preparedMonth(h.staffCd, month, first, days);
        fillStoredDays(db, h, rows);
        benchmark::DoNotOptimize(rows.data());
    }
}
