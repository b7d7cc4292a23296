#pragma once

#include "LegalRecords.h"

#include <span>
#include <vector>

// The law's hours of a month (労働基準法 第32条, 第34条, 第35条, 第37条), a second computation
// beside the sheet's figures from the same clock times, in whole minutes: the hours within the
// legal limits, overtime by the day's 8 hours and the week's 40, the part of overtime past 60
// hours, work on the weekly legal day off, and late-night work. Pure computation.

// The month of the period's days, in date order. The stored days of the period's first week that
// fall before the period count toward that week's 40 hours and toward no figure.
LegalMonth CalcLegalMonth(std::span<const LegalDay> earlierDaysOfFirstWeek,
                          std::span<const LegalDay> periodDays, const LegalRules& rules);

// The first day of the week that holds a day.
QDate weekStartOf(const QDate& day, Qt::DayOfWeek weekStart);

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
// months that end at each of the months from the one at firstEnd, in minutes (a fraction of a
// minute rounded up).
int worstAverage(std::span<const AgreementMonth> months, size_t firstEnd = 1);
