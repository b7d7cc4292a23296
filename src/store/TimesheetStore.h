#pragma once

#include "Records.h"
#include "Revisions.h"

#include <optional>
#include <span>
#include <vector>

class Database;

// Reads and writes of the timesheet and the monthly summary. Failures raise StoreError.

// Staff stepping: each finds one staff member and, when there is one, copies the code, name and
// reading into h with that member's totals for h.syoriDt (zeros without a summary) and returns
// true. First, next and previous pass over members who had left before h.kikanSt; a code finds
// its member whatever the leaving date. h.syoriDt, h.kikanSt and h.kikanEn are never changed.
// Without a staff member h is left as it was and the result is false.
bool FirstStaffMonth(Database& db, MonthHeader& h);
bool NextStaffMonth(Database& db, MonthHeader& h);
bool PrevStaffMonth(Database& db, MonthHeader& h);
bool FindStaffMonth(Database& db, MonthHeader& h, const QString& code);

// Copies the stored row of h's staff member and month for day into row: codes, class, clock
// times and hours; row.kintaiDt and row.week are left as prepared. Without a stored row, row is
// untouched and the result is false. Part of the timesheet interface; the screen reads a month
// with fillStoredDays.
bool LoadDayRow(Database& db, const MonthHeader& h, const QDate& day, DayRow& row);

// LoadDayRow for every prepared row at once, matched by kintaiDt, in one read. Returns the
// indexes of the rows that were on file.
std::vector<size_t> fillStoredDays(Database& db, const MonthHeader& h, std::span<DayRow> rows);

// The revision of a member's month: 0 while nothing was ever written to it. Every save, delete,
// close and reopen raises it by one, and it is never given twice.
int monthRevision(Database& db, const QString& code, const QString& month);
// Raises the month's revision inside the caller's unit of work and returns the new one. With an
// expected revision, raises StaleChange instead when the month's revision is another one. Raises
// MemberGone when the member is not on file: no month is written for a member deleted meanwhile.
int raiseMonthRevision(Database& db, const QString& code, const QString& month,
                       std::optional<int> expected = std::nullopt);
// A figure that changes whenever the member's record or any month of the member changes.
qint64 memberRevision(Database& db, const QString& code);

// Rewrites h's summary row for h.syoriDt, with the period allowance the totals were made under
// (none for a month written without one).
void SaveSummary(Database& db, const MonthHeader& h, std::optional<double> kihon40 = std::nullopt);
// What the timesheet shows of h's month besides its rows, read in one statement: whether it is
// closed, its revision, whether any day rows are on file, and the allowance it was saved under
// when it was saved for h's period with one.
struct MonthState {
    bool closed = false;
    int revision = 0;
    bool onFile = false;
    std::optional<double> storedKihon40;
};
MonthState loadMonthState(Database& db, const MonthHeader& h);
// Rewrites the day rows of h's staff member and month: exactly the given rows remain.
void SaveDayRows(Database& db, const MonthHeader& h, std::span<const DayRow> rows);
// SaveSummary and SaveDayRows as one unit: the month on file is either the old one or the new;
// the old month's figures of the law's hours are dropped with it.
// Raises the month's revision as raiseMonthRevision does and returns the new one. kihon40 is the
// allowance the totals were made under.
int saveMonth(Database& db, const MonthHeader& h, std::span<const DayRow> rows,
              std::optional<int> expectedRevision = std::nullopt,
              std::optional<double> kihon40 = std::nullopt);

// Removes the summary and the day rows of one staff member's month, all or nothing. Raises the
// month's revision as raiseMonthRevision does and returns the new one.
int DeleteMonth(Database& db, const QString& code, const QString& month,
                std::optional<int> expectedRevision = std::nullopt);

// The member's newest stored month: its processing month and period; none without a month.
std::optional<MonthHeader> newestMonth(Database& db, const QString& code);

// Printing. Codes and months are ranges of fixed-width text, both ends included. A range of
// several codes leaves out the months of members who had left before the month's period.
int CountReportRows(Database& db, const QString& staffFrom, const QString& staffTo,
                    const QString& monthFrom, const QString& monthTo);
// One row per timesheet row of the ranges (as many as CountReportRows counts), ordered by code
// and day, with the staff name and the month's summary.
std::vector<ReportRow> LoadReportRows(Database& db, const QString& staffFrom,
                                      const QString& staffTo, const QString& monthFrom,
                                      const QString& monthTo);

// The stored months of a processing month for the staff codes from staffFrom to staffTo (compared
// as text), one per member by code, as payroll takes them, each saying whether it was closed;
// members who had left before the period are left out as in printing.
std::vector<PayrollRow> loadPayrollRows(Database& db, const QString& staffFrom,
                                        const QString& staffTo, const QString& syoriDt);
