#include "CalendarStore.h"

#include "Database.h"
#include "Revisions.h"

#include <functional>

namespace {

const QString kHolidaysAreRestDays = QStringLiteral("syukujituKoukyu");

} // namespace

OfficeCalendarEntries loadOfficeCalendar(Database& db, const QDate& first, const QDate& last)
{
    // One row for each day off, or one without a day: the setting comes with each.
    Rows rows = db.query(
        QStringLiteral("SELECT s.setteiVal, d.kyujituDt, d.kyujituNm "
                       "FROM (SELECT CAST(? AS TEXT) AS setteiCd) AS k "
                       "LEFT JOIN CMSETTEIMST AS s ON s.setteiCd = k.setteiCd "
                       "LEFT JOIN CMKAISYAKYUJITUMST AS d ON d.kyujituDt >= ? AND d.kyujituDt <= ? "
                       "ORDER BY d.kyujituDt"),
        {kHolidaysAreRestDays, first, last});
    OfficeCalendarEntries calendar;
    while (rows.next()) {
        calendar.holidaysAreRestDays = rows.text(0) == QLatin1String("1");
        if (!rows.value(1).isNull())
            calendar.daysOff.push_back({rows.date(1), rows.text(2)});
    }
    return calendar;
}

int calendarRevision(Database& db)
{
    return revision(db, calendarRevisionKey());
}

namespace {

// A change of the calendar as one unit with the raise of its revision.
int changeCalendar(Database& db, std::optional<int> expectedRevision,
                   const std::function<void()>& change)
{
    Transaction transaction(db);
    const int raised = raiseRevision(db, calendarRevisionKey(), expectedRevision);
    change();
    transaction.commit();
    return raised;
}

} // namespace

int saveCompanyDayOff(Database& db, const CompanyDayOff& day, std::optional<int> expectedRevision)
{
    return changeCalendar(db, expectedRevision, [&] {
        db.execute(
            QStringLiteral("INSERT INTO CMKAISYAKYUJITUMST (kyujituDt, kyujituNm) VALUES (?, ?) "
                           "ON CONFLICT (kyujituDt) DO UPDATE SET kyujituNm = excluded.kyujituNm"),
            {day.kyujituDt, day.kyujituNm});
    });
}

int deleteCompanyDayOff(Database& db, const QDate& day, std::optional<int> expectedRevision)
{
    return changeCalendar(db, expectedRevision, [&] {
        db.execute(QStringLiteral("DELETE FROM CMKAISYAKYUJITUMST WHERE kyujituDt = ?"), {day});
    });
}

int setHolidaysAreRestDays(Database& db, bool on, std::optional<int> expectedRevision)
{
    return changeCalendar(db, expectedRevision, [&] {
        db.execute(
            QStringLiteral("INSERT INTO CMSETTEIMST (setteiCd, setteiVal) VALUES (?, ?) "
                           "ON CONFLICT (setteiCd) DO UPDATE SET setteiVal = excluded.setteiVal"),
            {kHolidaysAreRestDays, on ? QStringLiteral("1") : QStringLiteral("0")});
    });
}
