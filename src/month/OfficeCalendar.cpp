#include "OfficeCalendar.h"

#include "CalendarStore.h"
#include "Holidays.h"

PeriodCalendar loadPeriodCalendar(Database& db, const QDate& first, const QDate& last)
{
    PeriodCalendar calendar;
    const OfficeCalendarEntries office = loadOfficeCalendar(db, first, last);
    for (const CompanyDayOff& day : office.daysOff)
        calendar.daysOff[day.kyujituDt] = day.kyujituNm;
    if (!office.holidaysAreRestDays)
        return calendar;
    for (const auto& [day, name] : calendar.daysOff)
        calendar.restDays.insert(day);
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (!JapaneseHolidayName(day).isEmpty())
            calendar.restDays.insert(day);
    }
    return calendar;
}
