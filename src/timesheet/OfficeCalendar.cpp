#include "OfficeCalendar.h"

#include "CalendarStore.h"
#include "Holidays.h"

std::set<QDate> calendarRestDays(Database& db, const QDate& first, const QDate& last)
{
    std::set<QDate> days;
    if (!holidaysAreRestDays(db))
        return days;
    for (const CompanyDayOff& day : loadCompanyDaysOff(db, first, last))
        days.insert(day.kyujituDt);
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        if (!JapaneseHolidayName(day).isEmpty())
            days.insert(day);
    }
    return days;
}
