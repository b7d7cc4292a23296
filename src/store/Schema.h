#pragma once

#include <QString>

#include <memory>

class Database;

// The program's database file: the staff master, the monthly summary, the timesheet and the
// stored query that the attendance sheet reads.

// Creates an empty database file with the tables and the stored query. Never touches an
// existing file: returns false when one is already there. Raises StoreError on failure.
bool CreateDatabase(const QString& path);

// Raises StoreError unless the database holds every table, field and the stored query.
void VerifySchema(Database& db);

// Raises StoreError unless the engine finds every page of the file sound: a truncated or damaged
// copy fails. Reads the whole file.
void VerifyIntegrity(Database& db);

// Raises StoreError, with the engine's reason, unless the database can be written: a read-only
// file or folder, or a file another program holds, fails. Writes nothing.
void VerifyWritable(Database& db);

// Opens the program's database file: a missing file, one that is not an SQLite database, or one
// that lacks the program's tables fails with StoreError.
std::unique_ptr<Database> OpenDatabase(const QString& path);
