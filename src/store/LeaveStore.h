#pragma once

#include "LeaveRecords.h"

#include <QDate>
#include <QString>

#include <vector>

class Database;

// Reads and writes of paid leave: members' working conditions and the grants the clerk entered or
// decided. Failures raise StoreError.

// The member's working conditions; the defaults for a member saved without them.
MemberConditions loadConditions(Database& db, const QString& staffCd);
// The conditions of every member on file, by code, the defaults where none were saved.
std::vector<MemberConditions> loadAllConditions(Database& db);
// Inserts or replaces the member's conditions, inside the caller's unit of work when there is one.
void saveConditions(Database& db, const MemberConditions& conditions);

// The grants the clerk entered or decided for a member, by date.
std::vector<LeaveGrantRecord> loadLeaveGrants(Database& db, const QString& staffCd);
// Inserts or replaces the member's grant of that date.
void saveLeaveGrant(Database& db, const QString& staffCd, const LeaveGrantRecord& grant);
void removeLeaveGrant(Database& db, const QString& staffCd, const QDate& fuyoDt);

// The member's stored days from one day to another, in date order, each date once: where two
// stored months hold the same date, the later month's class.
std::vector<ClassDay> loadClassDays(Database& db, const QString& staffCd, const QDate& from,
                                    const QDate& to);

// Everything a member's leave ledger is made from, read as one consistent state: the
// conditions, the grants, and the stored days from the hire date (or the oldest grant entered)
// up to a day.
struct LeaveInputs {
    MemberConditions conditions;
    std::vector<LeaveGrantRecord> grants;
    std::vector<ClassDay> days;
};
LeaveInputs loadLeaveInputs(Database& db, const QString& staffCd, const QDate& upTo);

// How many months before its due date a grant still short of its 5 days is marked (3 until set).
int loadDutyWarningMonths(Database& db);
void saveDutyWarningMonths(Database& db, int months);
