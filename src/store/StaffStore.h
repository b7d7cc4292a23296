#pragma once

#include "Records.h"

#include <optional>
#include <vector>

class Database;

// Reads and writes of the staff master. Failures raise StoreError.

// The field that a keyword search looks in.
enum class StaffField { staffCd, staffNm, staffKm };

// The number of staff whose field contains keyword literally (letter case of Latin letters
// ignored); an empty keyword counts every staff member with a value in the field. Part of the
// staff interface; the search dialog counts the rows it reads instead.
int CountStaff(Database& db, const QString& keyword, StaffField field);

// The same staff as CountStaff, ordered descending by the searched field.
std::vector<StaffRecord> ListStaff(Database& db, const QString& keyword, StaffField field);

// The staff member with this code; one not on file comes back as the code with an empty name
// and reading.
StaffRecord GetStaff(Database& db, const QString& code);

// Inserts the staff member, or replaces the name and reading of one on file. The member's
// timesheets stay as they are.
void SaveStaff(Database& db, const StaffRecord& rec);

// Removes the staff member with every summary, timesheet and closing row of that code, all or
// nothing; the member's history stays, marked as deleted, and every month's revision is raised.
// With an expected memberRevision, raises StaleMonth instead when a month of the member changed.
void DeleteStaff(Database& db, const QString& code,
                 std::optional<qint64> expectedRevision = std::nullopt);
