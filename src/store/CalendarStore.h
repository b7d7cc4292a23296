#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Database;

// Reads and writes of the office's calendar: its own days off and whether public holidays and
// those days count as rest days when a month is prepared. Failures raise StoreError.

struct CompanyDayOff {
    QDate kyujituDt;
    QString kyujituNm; // a short name such as "年末年始"

    friend bool operator==(const CompanyDayOff&, const CompanyDayOff&) = default;
};

struct OfficeCalendarEntries {
    std::vector<CompanyDayOff> daysOff; // by date
    bool holidaysAreRestDays = false; // "祝日・会社休日を公休日とする": off unless set
};

// The office's days off from first to last and its setting, read together.
OfficeCalendarEntries loadOfficeCalendar(Database& db, const QDate& first, const QDate& last);
// The calendar's revision: every change of its days off or its setting raises it. Each change
// returns the new revision; with an expected revision it raises StaleChange instead when another
// clerk changed the calendar since.
int calendarRevision(Database& db);

// Adds the day, or renames it when it is on file.
int saveCompanyDayOff(Database& db, const CompanyDayOff& day,
                      std::optional<int> expectedRevision = std::nullopt);
int deleteCompanyDayOff(Database& db, const QDate& day,
                        std::optional<int> expectedRevision = std::nullopt);

int setHolidaysAreRestDays(Database& db, bool on,
                           std::optional<int> expectedRevision = std::nullopt);
