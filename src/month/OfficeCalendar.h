#pragma once

#include <QDate>
#include <QString>

#include <map>
#include <set>

class Database;

// The office's calendar over a period, read once.
struct PeriodCalendar {
    std::map<QDate, QString> daysOff; // the office's own days off, with their names
    // The days the calendar makes rest days: the public holidays and the office's own days off
    // while "祝日・会社休日を公休日とする" is on; none while it is off.
    std::set<QDate> restDays;

    // The name of the office's own day off on a day, or empty text.
    QString dayOffName(const QDate& day) const
    {
        const auto found = daysOff.find(day);
        return found == daysOff.end() ? QString() : found->second;
    }
};

// The calendar of the days from first to last. Raises StoreError.
PeriodCalendar loadPeriodCalendar(Database& db, const QDate& first, const QDate& last);
