#pragma once

#include <QDate>
#include <QString>

#include <vector>

class Database;

// Reads and writes of the office's calendar: its own days off and whether public holidays and
// those days count as rest days when a month is prepared. Failures raise StoreError.

struct CompanyDayOff {
    QDate kyujituDt;
    QString kyujituNm; // a short name such as "年末年始"

    friend bool operator==(const CompanyDayOff&, const CompanyDayOff&) = default;
};

// The office's days off from first to last, by date.
std::vector<CompanyDayOff> loadCompanyDaysOff(Database& db, const QDate& first, const QDate& last);
// Adds the day, or renames it when it is on file.
void saveCompanyDayOff(Database& db, const CompanyDayOff& day);
void deleteCompanyDayOff(Database& db, const QDate& day);

// "祝日・会社休日を公休日とする": off unless set.
bool holidaysAreRestDays(Database& db);
void setHolidaysAreRestDays(Database& db, bool on);
