#pragma once

#include "Records.h"

#include <set>
#include <span>

// The work-time rules: one day's clock-in and clock-out become basic, break, overtime and
// late-night hours; a month of day rows becomes the four month totals, with the basic hours of
// normal working days above the period allowance moved into overtime. Pure computation.

// A clock reading. The hour may run past 24 to mean the following day (29:00 is 05:00 of the
// next day).
struct TimePoint {
    int hour = 0;
    int minute = 0;

    // "hhmm": the hour from the first two characters, the minute from the last two.
    static TimePoint fromText(const QString& hhmm);
};

struct ClockTimes {
    QString syukin; // clock-in "hhmm"
    QString taisya; // clock-out "hhmm"; earlier than the clock-in means the next day
};

// A day's hours in decimal hours, never rounded. Stored as kihon1 (basic), kihon4 (break),
// kihon2 (overtime) and kihon3 (late-night).
struct WorkTime {
    double kihonJn = 0;   // basic
    double kyukeiJn = 0;  // break
    double zangyouJn = 0; // overtime
    double sinyaJn = 0;   // late-night

    friend bool operator==(const WorkTime&, const WorkTime&) = default;
};

// True for a clock time the rules can take: four digits "hhmm", the hour 00 to 47 (past 24 is the
// next day) and the minute 00 to 59.
bool isClockTime(const QString& hhmm);

// -1 when a is earlier than b, 0 when equal, +1 when later.
int CompareTime(const TimePoint& a, const TimePoint& b);

// Minutes shared by the window from windowStart to windowEnd and the span from spanStart to
// spanEnd.
int OverlapMinutes(const TimePoint& windowStart, const TimePoint& windowEnd,
                   const TimePoint& spanStart, const TimePoint& spanEnd);

// A day's span in whole minutes, from the clock-in to the clock-out (the next day's when it is
// earlier; equal times are no span), and its minutes in the late-night windows.
struct SpanMinutes {
    int span = 0;
    int night = 0;
};
SpanMinutes daySpan(const ClockTimes& times);

// The day's hours; both clock times must be present.
WorkTime CalcWorkTime(const ClockTimes& times);

// The period allowance: 8 hours per Monday-to-Friday row, at least 40. The days off of the
// office's calendar, when it counts them as rest days, are left out.
double calcKihon40(std::span<const DayRow> rows, const std::set<QDate>& daysOff = {});

// Sums the period's rows into header.kihon1..kihon4 (basic, overtime, late-night, break).
void CalcTotals(std::span<const DayRow> rows, double kihon40, MonthHeader& header);
