#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <span>
#include <vector>

// The law's hours of a month (労働基準法 第32条, 第34条, 第35条, 第37条), a second computation
// beside the sheet's figures from the same clock times, in whole minutes: the hours within the
// legal limits, overtime by the day's 8 hours and the week's 40, the part of overtime past 60
// hours, work on the weekly legal day off, and late-night work. Pure computation.

// A stored day as the law reads it: the two clock texts ("hhmm" or empty). A day counts only with
// both times, whatever its class.
struct LegalDay {
    QDate date;
    QString syukin;
    QString taisya;
};

// The break taken from a day's span: one hour when the span is over an hour (the sheet's rule),
// or the law's minimum: none up to 6 hours, 45 minutes up to 8 hours 45 minutes, else an hour.
enum class BreakRule { OneHour, LawMinimum };

struct LegalRules {
    Qt::DayOfWeek weekStart = Qt::Sunday;
    std::optional<Qt::DayOfWeek> legalHoliday = Qt::Sunday; // none: no day is the legal day off
    BreakRule breakRule = BreakRule::OneHour;
};

// Minutes of the period's days.
struct LegalMonth {
    int worked = 0;         // span less break, every day, the legal day off included
    int withinLegal = 0;    // within 8 hours a day and 40 a week
    int overtime = 0;       // past 8 hours a day or 40 a week (法定外残業)
    int overtimeOver60 = 0; // the part of the month's overtime past 60 hours
    int legalHoliday = 0;   // worked on the legal day off (法定休日労働)
    int night = 0;          // in the late-night windows

    friend bool operator==(const LegalMonth&, const LegalMonth&) = default;
};

// The month of the period's days, in date order. The stored days of the period's first week that
// fall before the period count toward that week's 40 hours and toward no figure.
LegalMonth CalcLegalMonth(std::span<const LegalDay> earlierDaysOfFirstWeek,
                          std::span<const LegalDay> periodDays, const LegalRules& rules);

// The first day of the week that holds a day.
QDate weekStartOf(const QDate& day, Qt::DayOfWeek weekStart);

// The overtime agreement (36協定, 労働基準法 第36条) and its limits, in minutes.
struct AgreementRules {
    int firstMonth = 4;                // the agreement year's first month
    int monthlyLimit = 45 * 60;        // overtime a month
    int yearlyLimit = 360 * 60;        // overtime a year
    bool specialClause = false;        // 特別条項
    int specialYearlyLimit = 720 * 60; // overtime a year under the special clause
    int monthlyCap = 100 * 60;         // overtime and legal-day-off work: under this every month
    int averageCap = 80 * 60;          // their average over every run of 2 to 6 months
    int monthsOverLimit = 6;           // months a year over the monthly limit
};

// Where a month stands against the agreement: the worst of its limits, and which limit that is.
enum class AgreementState { Ok, Caution, Warning, Over };
struct AgreementCheck {
    AgreementState state = AgreementState::Ok;
    QString rule;    // the limit the state is about, as the clerk reads it; empty when ok
    int percent = 0; // of that limit
};

// One month's overtime and legal-day-off work, for the agreement.
struct AgreementMonth {
    int year = 0;
    int month = 0; // 1 to 12
    int overtime = 0;
    int legalHoliday = 0;
};

// Checks the last of the months, consecutive and oldest first (the agreement year so far and at
// least the five months before the last), against the agreement: caution at 70 % of a limit,
// warning at 90 %, over past it (the monthly cap at it: 100:00 is over).
AgreementCheck checkAgreement(std::span<const AgreementMonth> months, const AgreementRules& rules);

// The highest average of overtime and legal-day-off work over the runs of 2 to 6 consecutive
// months that end at each of the months, in minutes (a fraction of a minute rounded up).
int worstAverage(std::span<const AgreementMonth> months);
