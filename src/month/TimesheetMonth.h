#pragma once

#include "LeaveStore.h"
#include "MonthLegal.h"
#include "MonthLog.h"
#include "OfficeCalendar.h"
#include "Records.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

class Database;

// The month on the timesheet entry screen: one staff member's header and totals, and one day row
// per day of the period. Edits live here until saved; every load discards them. Rows are
// numbered 1 to days(), as on the screen. Storage failures raise StoreError.
class TimesheetMonth {
public:
    enum class Clock { In, Out };
    enum class Hours { Basic, Overtime, LateNight, Break };

    // The processing month "yyyymm" and the period, at most 31 days.
    TimesheetMonth(const QString& syoriDt, const QDate& kikanSt, const QDate& kikanEn);

    const MonthHeader& header() const { return m_header; }
    int days() const { return int(m_rows.size()); }
    // The period allowance the totals are made under: a month on file keeps the one it was saved
    // under, whatever the office's calendar says now.
    double kihon40() const { return m_kihon40; }
    // The allowance the office's calendar gives the period today.
    double calendarKihon40() const { return m_calendarKihon40; }
    // Makes the month's totals under today's allowance; true when the allowance changed.
    bool recalculateAllowance();
    const DayRow& row(int n) const { return m_rows.at(n - 1); }
    std::span<const DayRow> rows() const { return m_rows; }
    bool hasRow(int n) const { return n >= 1 && n <= days(); }

    // Loading a staff member's month from storage, with the stored totals. With no staff on file
    // the header keeps an empty code.
    void loadFirst(Database& db);
    // The next or previous staff member by code; false when there is none in that direction, and
    // then the current member's month is loaded again.
    bool loadNext(Database& db);
    bool loadPrevious(Database& db);
    // The member of the typed code, filled to four characters; a code not on file loads the
    // current member again.
    void loadCode(Database& db, const QString& typedCode);
    // The current member's month again; when the member is no longer on file, the next member's
    // (else the previous one's, else none).
    void reload(Database& db);

    // A clock time committed in row n ("hhmm" or empty). With both times present the day's hours
    // are computed, replacing any typed by hand, and the totals follow. True when the row's
    // hours were computed.
    bool commitClock(int n, Clock which, const QString& hhmm);
    // An hour figure committed in row n; an empty field changes nothing. True when stored.
    bool commitHours(int n, Hours which, std::optional<double> value);
    // The class committed in row n. True when stored.
    bool commitClass(int n, DayClass dayClass);
    // The class chosen in row n's list before it is committed: a class without times (a rest
    // day, whole-day leave, absence) empties the row's times and hours. True when it was emptied.
    bool selectClass(int n, DayClass dayClass);
    // Puts row n back as it was before the classes chosen since its class was last committed.
    // True when the row changed.
    bool revertSelection(int n);

    // True when the rows or the allowance differ from the month as last loaded or saved: leaving
    // it loses work.
    bool isModified() const { return m_rows != m_storedRows || m_kihon40 != m_storedKihon40; }
    // The month's revision when it was loaded or last changed here: a save, delete, close or
    // reopen raises StaleChange when another clerk changed the month since.
    int revision() const { return m_revision; }
    // The member's month has rows on file: it can be closed.
    bool isOnFile() const { return m_onFile; }
    // A member is shown; false when no staff member is on file.
    bool hasMember() const { return !m_header.staffCd.isEmpty(); }

    // A closed month (締め) is read only until it is reopened.
    bool isClosed() const { return m_closed; }
    // Closes or reopens the member's month, with its history entry.
    void close(Database& db);
    void reopen(Database& db);

    // The member's paid leave left at the period's end, counting the month as edited; none when
    // the member's leave is not kept here (no hire date and no grant entered).
    std::optional<double> leaveBalance() const;
    // The question asked before row n becomes a day of this class when that would take the
    // member's paid leave below zero; empty text when it would not.
    QString leaveShortQuestion(int n, DayClass dayClass) const;

    // The law's hours beside the sheet's: on when the office turned them on.
    const MonthLegal& legal() const { return m_legal; }
    LegalMonth legalFigures() const { return m_legal.figures(m_rows); }

    // The name of the office's own day off on a day of the period, or empty text.
    QString officeDayOff(const QDate& day) const { return m_calendar.dayOffName(day); }

    // The member and month as a question or refusal names them: "0001 青木 の2005年02月分".
    QString memberMonthCaption() const;
    // Why the month cannot be saved or deleted: it is closed. Empty text when it can.
    QString changeRefusal() const;
    // Why the month cannot be saved as it stands, or empty text when it can; a working day without
    // its times is named.
    QString saveRefusal() const;
    // The first row of a working day that lacks a time, or 0 when every such row has both.
    int firstIncompleteRow() const;
    // Rewrites the month's summary and day rows, and records what changed in its history, as one
    // unit; the rows are then the stored month.
    void save(Database& db);
    // Removes the month from storage, with its history entry, and loads the member's empty month.
    void deleteWithHistory(Database& db);

private:
    enum class Step { Next, Previous };
    bool loadStep(Database& db, Step step);
    void loadRows(Database& db);
    void computeTotals();
    // The rows as they stand are the stored month (after a load, or a save of this month).
    void markSaved();
    static void emptyDay(DayRow& row);
    HistoryEntry historyEntry(const QString& sousa, const QString& naiyou = {}) const;
    std::optional<double> leaveBalanceOf(std::span<const DayRow> rows) const;

    MonthHeader m_header;
    std::vector<DayRow> m_rows;
    std::vector<DayRow> m_storedRows;
    std::vector<DayRow> m_filedRows; // the days on file, as on file
    PeriodCalendar m_calendar;       // of the period on display
    LeaveInputs m_leave;             // the member's paid leave, as on file
    MonthLegal m_legal;
    std::optional<std::pair<int, DayRow>> m_beforeSelection; // a row as its class was committed
    MonthHeader m_storedHeader;
    double m_storedKihon40 = 40;
    double m_calendarKihon40 = 40;
    bool m_closed = false;
    bool m_onFile = false;
    int m_revision = 0;
    double m_kihon40 = 40;
};
