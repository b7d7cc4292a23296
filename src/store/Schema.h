#pragma once

#include "ServerConnection.h"

#include <QString>

#include <QStringList>

#include <memory>
#include <vector>

class Database;

// The program's database file: the staff master, the monthly summary, the timesheet, the stored
// query that the attendance sheet reads, the office's calendar (version 2), and the closed months
// with the history of changes (version 3), the months' revisions (version 4), and the revisions
// of members' records and the calendar with each month's allowance (version 5), and members'
// working conditions with their paid-leave grants (version 6), and each month's figures of the
// law's hours (version 7). The same schema lives in an SQLite file or in a database on a
// PostgreSQL server.

// Creates an empty database file with the tables and the stored query. Never touches an
// existing file: one already there is refused like any other failure, with StoreError, and a
// failure leaves no file behind.
void createDatabase(const QString& path);

// The version of the schema that the program writes, kept in the file's user_version.
int currentSchemaVersion();

// Raises StoreError unless the schema records of the file are exactly those of the program's
// schema at the current or an earlier version: the same tables with the same keys, columns and
// types, the same indexes and stored query, and no trigger or other object. Reads no rows.
void verifySchema(Database& db);

// Brings a verified file of an earlier version up to the current one in one unit of work. An
// unnumbered file that already holds the current objects but cannot be written is left as it is.
void upgradeSchema(Database& db);

// Raises StoreError unless the engine finds the file sound: every page, every index in agreement
// with its table, and the file as long as its pages. Reads the whole file.
void verifyIntegrity(Database& db);

// Raises StoreError, naming the table, the column and the value, unless every row of a database
// file holds what the program itself writes: staff codes of four characters without control
// characters, months "yyyymm", dates and moments as dates, figures as numbers, known classes,
// clock times of four digits or none. Reads every row.
void verifyRows(Database& db);

// Raises StoreError unless a file is an SQLite database exactly as long as its header says: a
// file with a tail beyond its pages is not one the engine wrote. Reads the header alone.
void verifyFileLength(const QString& path);

// Raises StoreError, with the engine's reason, unless the database can be written: a read-only
// file or folder, or a file another program holds, fails. Writes nothing.
void verifyWritable(Database& db);

// Opens the program's database file and brings its schema up to the current version: a missing
// file, one that is not an SQLite database, or one whose schema is not the program's fails with
// StoreError.
std::unique_ptr<Database> openDatabase(const QString& path);

// Writes every page of a database file's write-ahead log into the file and empties the log, so
// that the file alone is the whole database, before it is replaced. Raises StoreError when another
// program (a reader through the data source) holds pages of the log for longer than the busy wait.
void checkpointWholeFile(Database& db);

// Connects to a server database and brings its schema up to the current version, creating it in
// an empty database. A database whose schema is not the program's, or of a newer version, fails
// with StoreError; so does a failed connection, with the reason.
std::unique_ptr<Database> openDatabase(const ServerConnection& server);

// What a verified server database holds before openDatabase brings it up to date.
enum class ServerState { Empty, Older, Current };
ServerState serverState(Database& db);

// A table of the program's schema with its columns, in the order of the schema.
struct ProgramTable {
    QString name;
    QStringList columns;
};
std::vector<ProgramTable> programTables();
