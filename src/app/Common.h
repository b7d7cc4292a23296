#pragma once

#include "ServerConnection.h"

#include <QString>

#include <functional>
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

// Runs storage work with the progress window over the main window: work gets the program's
// database, handed to a worker thread for its length; what it throws is thrown again here.
void runWithProgress(const std::function<void(Database&)>& work);
// The same for work on files alone, such as a copy made while the database is closed.
void runFileWorkWithProgress(const std::function<void()>& work);

// Qt's own texts (file and print dialogs, the buttons of questions) in Japanese, through Qt's
// Japanese translation; dates and numbers in the Japanese locale. False when the translation is
// not installed.
bool installJapaneseTranslation();

// Maps the screens' Windows font names to the installed IPA fonts.
void installFontSubstitutes();

// The program's name, version and desktop entry, as the desktop and the version window show them.
void setProgramIdentity();

// Start-up after the single-instance check: splash, database (created first in an installed
// program's empty data folder, or the server's when one is set), data source, main window. True
// when the main window is shown; false when start-up ended after saying why.
bool Main(const ProgramFolders& folders, const ServerConnection& server = {});
