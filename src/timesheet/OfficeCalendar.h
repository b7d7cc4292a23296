#pragma once

#include <QDate>

#include <set>

class Database;

// The days of the period from first to last that the office's calendar makes rest days: the
// public holidays and the office's own days off while "祝日・会社休日を公休日とする" is on; none
// while it is off. Raises StoreError.
std::set<QDate> calendarRestDays(Database& db, const QDate& first, const QDate& last);
