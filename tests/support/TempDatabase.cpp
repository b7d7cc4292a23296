#include "TempDatabase.h"

#include "Schema.h"
#include "StaffStore.h"
#include "TestServer.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTest>

#include <QFile>

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

TempDatabase::TempDatabase()
    : m_path(m_dir.filePath(QStringLiteral("data/data.mdb")))
{
    if (!m_dir.isValid())
        qFatal("cannot make a temporary folder");
    if (testingOnServer()) {
        m_path.clear();
        m_db = openDatabase(TestServer::instance()->freshDatabase());
        return;
    }
    createDatabase(m_path);
    m_db = openDatabase(m_path);
}

sqlite3* TempDatabase::handle() const
{
    const QVariant v = QSqlDatabase::database(m_db->connectionName(), false).driver()->handle();
    return *static_cast<sqlite3* const*>(v.constData());
}

int TempDatabase::commitsDuring(const std::function<void()>& fn)
{
    int commits = 0;
    sqlite3_commit_hook(
        handle(),
        [](void* counter) {
            ++*static_cast<int*>(counter);
            return 0;
        },
        &commits);
    fn();
    sqlite3_commit_hook(handle(), nullptr, nullptr);
    return commits;
}

QString TempDatabase::scalar(const QString& sql)
{
    Rows rows = m_db->query(sql);
    return rows.next() ? rows.value(0).toString() : QString();
}

void runForeignSql(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("foreign SQL failed: %s", error ? error : sqlite3_errmsg(db));
    sqlite3_close(db);
}

void seedSampleStaff(Database& db)
{
    SaveStaff(db, {QStringLiteral("0001"), QStringLiteral("青木"), QStringLiteral("ｱｵｷ")});
    SaveStaff(db, {QStringLiteral("0005"), QStringLiteral("伊藤"), QStringLiteral("ｲﾄｳ")});
    SaveStaff(db, {QStringLiteral("0009"), QStringLiteral("上田"), QStringLiteral("ｳｴﾀﾞ")});
}

std::vector<DayRow> preparedMonth(const QString& code, const QString& month, const QDate& first,
                                  int days)
{
    std::vector<DayRow> rows;
    for (int i = 0; i < days; ++i) {
        const QDate day = first.addDays(i);
        rows.push_back({code, month, day, weekday(day), QStringLiteral("0"), QString(), QString(),
                        0, 0, 0, 0});
    }
    return rows;
}

std::vector<DayRow> workedMonth(const QString& code, const QString& month, const QDate& first,
                                int days)
{
    std::vector<DayRow> rows = preparedMonth(code, month, first, days);
    for (DayRow& row : rows) {
        row.syukin = QStringLiteral("0900");
        row.taisya = QStringLiteral("1800");
        row.kihon1 = 8;
        row.kihon4 = 1;
    }
    return rows;
}

QStringList staffNamesThroughDataSource(const QString& dsn)
{
    QStringList names;
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    QByteArray connect = "DSN=" + dsn.toUtf8() + ";";
    QByteArray sql = "SELECT staffNm FROM CMSTAFFKIHONMST ORDER BY staffCd";
    if (SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()),
                                       SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)) &&
        SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)) &&
        SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS))) {
        while (SQL_SUCCEEDED(SQLFetch(stmt))) {
            char buffer[256] = {};
            SQLLEN length = 0;
            SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &length);
            names << QString::fromUtf8(buffer);
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}

void useScratchDataSources(const QTemporaryDir& folder)
{
    qputenv("ODBCINI", folder.filePath(QStringLiteral("odbc.ini")).toUtf8());
    qputenv("ODBCSYSINI", folder.path().toUtf8());
    if (!QFile::copy(QStringLiteral("/etc/odbcinst.ini"), folder.filePath("odbcinst.ini")))
        qFatal("cannot copy the installed ODBC drivers");
}

QStringList allRows(Database& db)
{
    QStringList rows;
    for (const ProgramTable& table : programTables()) {
        const QString columns = table.columns.join(", ");
        Rows read =
            db.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(columns, table.name));
        while (read.next()) {
            QStringList fields{table.name};
            for (int i = 0; i < table.columns.size(); ++i)
                fields << (read.value(i).isNull() ? "NULL" : read.value(i).toString());
            rows << fields.join('|');
        }
    }
    return rows;
}
