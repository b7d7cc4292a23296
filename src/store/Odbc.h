#pragma once

#include <QList>
#include <QString>

// Registration of the ODBC data source that points at the database file, through unixODBC's
// installer and driver manager. The data source is a user data source (the running user's
// odbc.ini, or the file named by ODBCINI), so that a clerk who is not root can start the
// program. No state between calls.
class ODBC {
public:
    struct DataSource {
        QString name;
        QString description;
    };

    // True when a data source of that name is registered; letter case is ignored. Kept as part of
    // the ODBC interface; the program itself does not call it.
    static bool IsDsn(const QString& DSN);

    // Replaces the list with the registered data sources and returns their number. When the ODBC
    // environment cannot be had, returns 0 and leaves the list as it was. Kept as part of the ODBC
    // interface; the program itself does not call it.
    static int OdbcDsnList(QList<DataSource>& retDataSources);

    // Registers DsnName for the driver DriverText with its description and database file.
    // EtcWord holds further attributes "key=value", each closed by a NUL character. The server
    // name takes no part. True on success.
    static bool OdbcNewDsn(const QString& DriverText, const QString& DsnName,
                           const QString& Description, const QString& ServerName = QString(),
                           const QString& DataBase = QString(), const QString& EtcWord = QString());
};

class Database;

// The file that holds the running user's data sources: the one ODBCINI names, else ~/.odbc.ini.
QString userDataSourceFile();

// Registers the program's data source "HOJ" for the database in use: the file through the SQLite 3
// driver, or the server database through the PostgreSQL driver (Debian odbc-postgresql). True on
// success.
bool registerProgramDataSource(const Database& db);
