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

// The staff member with this code, or none.
std::optional<StaffRecord> findStaff(Database& db, const QString& code);

// The revision of a member's record: 0 while it was never saved. Every save and delete raises it.
int staffRevision(Database& db, const QString& code);

// Inserts the staff member, or replaces the name and reading of one on file, and returns the
// record's new revision. The member's timesheets stay as they are. With an expected revision,
// raises StaleChange instead when another clerk saved or deleted the member since.
int SaveStaff(Database& db, const StaffRecord& rec,
              std::optional<int> expectedRevision = std::nullopt);

// Removes the staff member with every summary, timesheet and closing row of that code, and the
// member's working conditions and leave grants, all or nothing; the member's history stays, marked
// as deleted, and the revisions of the record and of every month are raised. With an expected
// memberRevision, raises StaleChange instead when the record or a month of the member changed.
void DeleteStaff(Database& db, const QString& code,
                 std::optional<qint64> expectedRevision = std::nullopt);
