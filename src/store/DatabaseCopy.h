#pragma once

#include <QString>

class Database;

// Moving the whole of the program's data between its two homes: a ".tim" backup is an SQLite
// file of the program's schema whichever engine the office uses.

// Replaces every row of the program's tables in `to` by the rows of `from`, as one unit of work on
// `to`: on a failure `to` keeps all of its old rows. Both hold the current schema. The rows are
// read from one consistent state of `from`, whatever other clerks save meanwhile.
void copyAllRows(Database& from, Database& to);

// Writes a new database file at path (none may be there) holding every row of `from`. A failure
// leaves no file behind.
void exportToFile(Database& from, const QString& path);
