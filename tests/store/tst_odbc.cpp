#include "Odbc.h"
#include "TempDatabase.h"

#include <QTemporaryDir>
#include <QTest>

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

namespace {

// Reads the staff names through the driver manager and the data source, not through the store.
QStringList namesThroughDsn(const QString& dsn)
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

} // namespace

class TestOdbc : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void registersAndFindsInAnyCase();
    void theDataSourceReadsTheDatabaseFile();

private:
    std::unique_ptr<QTemporaryDir> m_ini;
};

void TestOdbc::initTestCase()
{
    // A user data source file and a system folder of our own (with the installed drivers but no
    // data sources), set once: the driver manager keeps what it has read of them.
    m_ini = std::make_unique<QTemporaryDir>();
    qputenv("ODBCINI", m_ini->filePath(QStringLiteral("odbc.ini")).toUtf8());
    qputenv("ODBCSYSINI", m_ini->path().toUtf8());
    QVERIFY(QFile::copy(QStringLiteral("/etc/odbcinst.ini"), m_ini->filePath("odbcinst.ini")));
}

void TestOdbc::init()
{
    SQLSetConfigMode(ODBC_USER_DSN);
    SQLRemoveDSNFromIni("HOJ");
    SQLSetConfigMode(ODBC_BOTH_DSN);
}

void TestOdbc::registersAndFindsInAnyCase()
{
    QList<ODBC::DataSource> sources{{"stale", "entry"}};
    QCOMPARE(ODBC::OdbcDsnList(sources), 0);
    QVERIFY(sources.isEmpty());
    QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", "/tmp/x.mdb", QString()));
    // Registering again at the next start replaces the entry.
    QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", "/tmp/y.mdb", "Timeout=5"));
    QVERIFY(ODBC::IsDsn(QStringLiteral("hoj")));
    QVERIFY(!ODBC::IsDsn(QStringLiteral("HOJX")));
    QCOMPARE(ODBC::OdbcDsnList(sources), 1);
    QCOMPARE(sources.front().name, QStringLiteral("HOJ"));
    QCOMPARE(sources.front().description, QStringLiteral("SQLite3"));
}

void TestOdbc::theDataSourceReadsTheDatabaseFile()
{
    TempDatabase temp;
    SeedSampleStaff(temp.db());
    // A database path with blanks in it.
    const QString folder = temp.folder() + QStringLiteral("/program files/zeb");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/data.mdb");
    temp.db().close();
    QVERIFY(QFile::copy(temp.path(), path));

    QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", path, QString()));
    QCOMPARE(namesThroughDsn(QStringLiteral("HOJ")),
             (QStringList{QStringLiteral("青木"), QStringLiteral("伊藤"), QStringLiteral("上田")}));
}

QTEST_GUILESS_MAIN(TestOdbc)
#include "tst_odbc.moc"
