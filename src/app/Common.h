#pragma once

#include "ServerConnection.h"

#include <QString>

#include <memory>

class Database;
struct ProgramFolders;

// The one open database of the program, opened at start-up and closed when the main window
// closes (and around export and import).
extern std::unique_ptr<Database> gDb;

// The open database; raises StoreError when it is closed (after a failed reopening), so that a
// screen's command reports it instead of failing.
Database& openDb();

// Opens the database file, or connects to the server database, as gDb; on failure says so and
// returns false.
bool DbOpen(const QString& path);
bool DbOpen(const ServerConnection& server);
// Says that the database could not be opened, as DbOpen does, with the reason where one is given.
void showOpenFailure(const QString& reason = {});
// Closes gDb; on failure says so and returns false.
bool DbClose();

// Start-up after the single-instance check: splash, database (created first in an installed
// program's empty data folder, or the server's when one is set), data source, main window. True
// when the main window is shown; false when start-up ended after saying why.
bool Main(const ProgramFolders& folders, const ServerConnection& server = {});
