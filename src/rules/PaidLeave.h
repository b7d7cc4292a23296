#pragma once

#include "LeaveRecords.h"
#include "Records.h"

#include <QDate>

#include <span>
#include <vector>

// Annual paid leave by the law (労働基準法 第39条): the days granted, the 80 % attendance that a
// grant needs, use from the oldest grant first, lapse after two years, and the duty to have every
// grant of 10 days or more taken for at least 5 days within its first year. Pure computation on
// what storage hands in.

// Days of leave as the clerk reads them: "10", "7.5", "-0.5".
QString leaveDaysText(double days);

// The days granted on the grant date reached serviceMonths months after the hire date (6, 18,
// 30, …; any other number gives 0). Full time (30 hours a week or more, or 5 days a week or more)
// by the main table; fewer days by the proportional table of 施行規則 第24条の3; 0 days a week 0.
int AnnualLeaveDays(int serviceMonths, int weeklyDays, double weeklyHours);

// The scheduled and attended days of a grant's period before it, from the stored days: scheduled
// are normal days, paid leave, the half days, absence and special leave; attended the same but
// absence. The period is wholly on file when every one of its days is stored.
struct Attendance {
    int scheduled = 0;
    int attended = 0;
    bool wholeOnFile = false;

    // At least 80 % of the scheduled days attended (a period with none scheduled passes).
    bool meetsEightyPercent() const { return attended * 5 >= scheduled * 4; }
};
Attendance countAttendance(std::span<const ClassDay> days, const QDate& from, const QDate& to);

// One day of paid leave taken: a whole day 1, a half day 0.5.
struct LeaveTaken {
    QDate date;
    double days = 0;

    friend bool operator==(const LeaveTaken&, const LeaveTaken&) = default;
};

// A year of the ledger (年次有給休暇管理簿): from a grant date (基準日) to the day before the next.
struct LeaveYear {
    enum class Basis {
        Law,     // granted by the law on the months on file
        Opening, // an opening balance the clerk entered (繰越)
        Refused, // the period before was attended less than 80 %, or the clerk said no
    };
    QDate kijunDt; // the grant date
    QDate lastDay; // the day before the next grant date
    Basis basis = Basis::Law;
    double granted = 0;            // days granted on the date (an opening's as entered)
    double carriedOver = 0;        // days of earlier grants still good on the date
    bool unrecorded = false;       // the period before is not wholly on file (記録なし)
    bool confirmed = false;        // the clerk gave a word on an unrecorded grant
    Attendance attendance;         // of the period before a grant by the law
    std::vector<LeaveTaken> taken; // every day of paid leave of the year, in date order
    double takenDays = 0;
    double lapsed = 0;  // days of earlier grants that lapsed within the year
    double balance = 0; // days left at the end of the year, or as of the ledger's date

    // The 5-day duty: a grant of 10 days or more, to be taken for 5 days by its due date.
    bool hasFiveDayDuty() const { return granted >= 10 && basis != Basis::Refused; }
    QDate dueDate() const { return kijunDt.addYears(1).addDays(-1); }
    double takenTowardDuty = 0; // days taken within a year of the grant, an opening's used part
                                // (granted less left) among them
    double openingLeft = 0;     // an opening's days left when it was entered
};

// A member's ledger as of a day: every grant year up to it, and the balance on it.
struct LeaveLedger {
    std::vector<LeaveYear> years;
    double balance = 0; // days left on the ledger's day; below zero when more was taken
};

// Builds a member's ledger as of asOf from the member's conditions, the stored days in date order
// (each date once), and the grants the clerk entered or decided. Grants by the law fall on the
// hire date + 6 months and every year after, up to asOf and not after the leaving date; those on
// or before the newest opening balance are left to it. An unrecorded grant is made unless the
// clerk refused it.
LeaveLedger buildLeaveLedger(const MemberConditions& conditions, std::span<const ClassDay> days,
                             std::span<const LeaveGrantRecord> grants, const QDate& asOf);

// The grant dates of the law after the hire date up to a day: the hire date + 6 months, then
// every year, with the months of service each marks.
struct GrantDate {
    QDate date;
    int serviceMonths = 0;
};
std::vector<GrantDate> grantDates(const QDate& hireDate, const QDate& upTo);

// Where a grant of 10 days or more stands on its 5-day duty on a day.
struct FiveDayDuty {
    enum class Mark {
        Done,    // 5 days taken
        Open,    // short, the due date more than the warning months away
        DueSoon, // short, due within the warning months
        Overdue, // short, and the due date has passed
    };
    QDate kijunDt;
    QDate dueDate;
    double taken = 0;
    double needed = 0;
    Mark mark = Mark::Open;
};
// The duties of the ledger's grants that are still good on the day (granted on or before it and
// not lapsed), oldest first.
std::vector<FiveDayDuty> fiveDayDuties(const LeaveLedger& ledger, const QDate& today,
                                       int warningMonths);
