#pragma once

#include "Database.h"
#include "Records.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3;

// A fresh program database in its own temporary folder, removed with the object; when the tests
// run on the server, a fresh database there (and no file).
class TempDatabase {
public:
    TempDatabase();

    Database& db() { return *m_db; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    // The engine handle behind the file's connection, for counting commits and the like.
    sqlite3* handle() const;

    // The number of commits that fn makes on the file.
    int commitsDuring(const std::function<void()>& fn);

    // Runs a statement and returns the first field of its first row as text.
    QString scalar(const QString& sql);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

// Runs statements on a database file through a bare engine connection, as another program would,
// without the program's guards (a file's schema may then be written directly). Ends the test run
// on an error.
void runForeignSql(const QString& path, const QString& sql);

// Every row of every table of the program, in key order, as text.
QStringList allRows(Database& db);

// The sample staff of the tests: 0001 青木, 0005 伊藤, 0009 上田.
void seedSampleStaff(Database& db);

// The rows of a month as the timesheet screen prepares them: consecutive days from first, class
// "0", no times, zero hours.
std::vector<DayRow> preparedMonth(const QString& code, const QString& month, const QDate& first,
                                  int days);
// A prepared month whose every row has clock times 0900-1800 and the hours of such a day.
std::vector<DayRow> workedMonth(const QString& code, const QString& month, const QDate& first,
                                int days);

// The staff names in code order, read through the driver manager and the data source, not
// through the store.
QStringList staffNamesThroughDataSource(const QString& dsn);

// A user data source file and a system folder of the test's own (with the installed drivers but
// no data sources), set once: the driver manager keeps what it has read of them.
void useScratchDataSources(const QTemporaryDir& folder);
