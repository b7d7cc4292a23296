#include "CalendarStore.h"

#include "Database.h"
#include "Revisions.h"

#include <functional>

namespace {

const QString kHolidaysAreRestDays = QStringLiteral("syukujituKoukyu");

} // namespace

std::vector<CompanyDayOff> loadCompanyDaysOff(Database& db, const QDate& first, const QDate& last)
{
    std::vector<CompanyDayOff> days;
    Rows rows =
        db.query(QStringLiteral("SELECT kyujituDt, kyujituNm FROM CMKAISYAKYUJITUMST "
                                "WHERE kyujituDt >= ? AND kyujituDt <= ? ORDER BY kyujituDt"),
                 {first, last});
    while (rows.next())
        days.push_back({rows.date(0), rows.text(1)});
    return days;
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

bool holidaysAreRestDays(Database& db)
{
    Rows rows = db.query(QStringLiteral("SELECT setteiVal FROM CMSETTEIMST WHERE setteiCd = ?"),
                         {kHolidaysAreRestDays});
    return rows.next() && rows.text(0) == QLatin1String("1");
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
