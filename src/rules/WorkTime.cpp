#include "WorkTime.h"

namespace {

constexpr int kBreakMinutes = 60;
constexpr int kStandardDayMinutes = 8 * 60;
constexpr double kAllowancePerWeekday = 8;
constexpr double kAllowanceFloor = 40;
constexpr qsizetype kShortestCappedPeriod = 5;

// The late-night windows on the running clock: the early morning of the start day, the night
// into the next day, and the late evening of the next day.
constexpr TimePoint kNightWindows[][2] = {
    {{0, 0}, {5, 0}},
    {{22, 0}, {29, 0}},
    {{46, 0}, {48, 0}},
};

int minutesBetween(const TimePoint& from, const TimePoint& to)
{
    return (to.hour - from.hour) * 60 - from.minute + to.minute;
}

} // namespace

TimePoint TimePoint::fromText(const QString& hhmm)
{
    return {leadingNumber(QStringView(hhmm).left(2)), leadingNumber(QStringView(hhmm).right(2))};
}

bool isClockTime(const QString& hhmm)
{
    if (hhmm.size() != 4)
        return false;
    for (const QChar c : hhmm) {
        if (c < u'0' || c > u'9')
            return false;
    }
    const TimePoint time = TimePoint::fromText(hhmm);
    return time.hour <= 47 && time.minute <= 59;
}

int CompareTime(const TimePoint& a, const TimePoint& b)
{
    if (a.hour != b.hour)
        return a.hour < b.hour ? -1 : 1;
    if (a.minute != b.minute)
        return a.minute < b.minute ? -1 : 1;
    return 0;
}

int OverlapMinutes(const TimePoint& windowStart, const TimePoint& windowEnd,
                   const TimePoint& spanStart, const TimePoint& spanEnd)
{
    if (CompareTime(spanStart, windowStart) >= 0) {
        if (CompareTime(spanStart, windowEnd) > 0)
            return 0;
        const TimePoint& end = CompareTime(spanEnd, windowEnd) < 0 ? spanEnd : windowEnd;
        return minutesBetween(spanStart, end);
    }
    if (CompareTime(spanEnd, windowEnd) >= 0)
        return minutesBetween(windowStart, windowEnd);
    if (CompareTime(windowStart, spanEnd) > 0)
        return 0;
    return minutesBetween(windowStart, spanEnd);
}

SpanMinutes daySpan(const ClockTimes& times)
{
    const TimePoint start = TimePoint::fromText(times.syukin);
    TimePoint end = TimePoint::fromText(times.taisya);
    if (CompareTime(start, end) > 0)
        end.hour += 24;
    SpanMinutes minutes{minutesBetween(start, end), 0};
    for (const auto& window : kNightWindows)
        minutes.night += OverlapMinutes(window[0], window[1], start, end);
    return minutes;
}

WorkTime CalcWorkTime(const ClockTimes& times)
{
    // The rules are decided on whole minutes, so that two equal durations never compare
    // unequal through rounding; only the results become decimal hours.
    const auto [spanMinutes, nightMinutes] = daySpan(times);
    const int workedMinutes = spanMinutes - kBreakMinutes;
    const auto hours = [](int minutes) { return minutes / 60.0; };

    if (spanMinutes <= kBreakMinutes)
        return {hours(spanMinutes), 0, 0, 0};
    if (workedMinutes < nightMinutes)
        return {0, 0, 0, hours(nightMinutes)};
    if (workedMinutes <= kStandardDayMinutes)
        return {hours(workedMinutes), hours(kBreakMinutes), 0, hours(nightMinutes)};
    return {hours(kStandardDayMinutes), hours(kBreakMinutes),
            hours(workedMinutes - kStandardDayMinutes), hours(nightMinutes)};
}

double calcKihon40(std::span<const DayRow> rows, const std::set<QDate>& daysOff)
{
    double allowance = 0;
    for (const DayRow& row : rows) {
        const int weekday = row.kintaiDt.dayOfWeek();
        if (weekday >= Qt::Monday && weekday <= Qt::Friday && !daysOff.contains(row.kintaiDt))
            allowance += kAllowancePerWeekday;
    }
    return std::max(allowance, kAllowanceFloor);
}

void CalcTotals(std::span<const DayRow> rows, double kihon40, MonthHeader& header)
{
    double basic = 0;
    double overtime = 0;
    double night = 0;
    double breaks = 0;
    double normalDayBasic = 0;
    for (const DayRow& row : rows) {
        const std::optional<DayClass> dayClass = readDayClass(row.syukinKb);
        if (dayClass == DayClass::Normal)
            normalDayBasic += row.kihon1;
        // Basic hours worked on a holiday always count as overtime.
        (dayClass == DayClass::HolidayWork ? overtime : basic) += row.kihon1;
        overtime += row.kihon2;
        night += row.kihon3;
        breaks += row.kihon4;
    }
    if (qsizetype(rows.size()) >= kShortestCappedPeriod) {
        const double excess = normalDayBasic - kihon40;
        if (excess > 0) {
            basic -= excess;
            overtime += excess;
        }
    }
    header.kihon1 = basic;
    header.kihon2 = overtime;
    header.kihon3 = night;
    header.kihon4 = breaks;
}
