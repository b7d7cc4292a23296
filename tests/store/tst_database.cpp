#include "Database.h"
#include "Odbc.h"
#include "Schema.h"
#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"
#include "TestRows.h"

#include <QFile>

#include <QTest>

#include <sqlite3.h>

class TestDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A user data source file and a system folder of our own (with the installed drivers but no
        // data sources), set once: the driver manager keeps what it has read of them.
        m_ini = std::make_unique<QTemporaryDir>();
        useScratchDataSources(*m_ini);
    }

    void openRefusesWhatIsNotOurDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        addTestRow("missing file", "missing");
        addTestRow("foreign SQLite file", "foreign");
        addTestRow("a field missing", "field");
        addTestRow("stored query missing", "view");
    }
    void openRefusesWhatIsNotOurDatabase()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.mdb"));
        if (kind == "foreign") {
            runForeignSql(path, "CREATE TABLE other (a TEXT)");
        } else if (kind == "field") {
            createDatabase(path);
            runForeignSql(path, "ALTER TABLE CMSTAFFKIHONMST RENAME COLUMN staffKm TO kana");
        } else if (kind == "view") {
            createDatabase(path);
            runForeignSql(path, "DROP VIEW Q_CMSTAFFKIHONMST");
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, openDatabase(path));
    }

    void createNeverOverwrites()
    {
        TempDatabase temp;
        SaveStaff(temp.db(),
                  {QStringLiteral("0001"), QStringLiteral("山田"), QStringLiteral("ﾔﾏﾀﾞ")});
        QVERIFY_THROWS_EXCEPTION(StoreError, createDatabase(temp.path()));
        QCOMPARE(CountStaff(temp.db(), QString(), StaffField::staffCd), 1);
        QVERIFY(!QFile::exists(temp.path() + QStringLiteral(".new")));
    }

    void innerTransactionRollsBackAlone()
    {
        TempDatabase temp;
        Database& db = temp.db();
        const QString insert = QStringLiteral("INSERT INTO CMSTAFFKIHONMST VALUES (?, '', '')");
        const int commits = temp.commitsDuring([&] {
            Transaction outer(db);
            db.execute(insert, {QStringLiteral("0001")});
            {
                Transaction inner(db);
                db.execute(insert, {QStringLiteral("0002")});
            }
            {
                Transaction inner(db);
                db.execute(insert, {QStringLiteral("0003")});
                inner.commit();
            }
            outer.commit();
        });
        QCOMPARE(commits, 1);
        QCOMPARE(temp.scalar("SELECT group_concat(staffCd) FROM CMSTAFFKIHONMST"), "0001,0003");
    }

    void connectionsDistrustTheSchema()
    {
        TempDatabase temp;
        QCOMPARE(temp.scalar("PRAGMA trusted_schema"), QStringLiteral("0"));
        int defensive = -1;
        sqlite3_db_config(temp.handle(), SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive);
        QCOMPARE(defensive, 1);
        temp.db().execute(
            "PRAGMA writable_schema = ON"); // refused without a word in defensive mode
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 temp.db().execute("UPDATE sqlite_master SET sql = '' WHERE 0"));
    }

    void engineFailuresAreToldInJapanese()
    {
        // What happened and what to do, then the engine's own words.
        TempDatabase temp;
        temp.db().execute("PRAGMA query_only = 1");
        try {
            verifyWritable(temp.db());
            QFAIL("a read-only database passed as writable");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().contains("読み取り専用") &&
                         error.message().contains("readonly database"),
                     qPrintable(error.message()));
        }
    }

    void dataSource()
    {
        // Registered again at the next start over the old entry, and listed once.
        QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", "/tmp/x.mdb", QString()));
        QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", "/tmp/y.mdb", "Timeout=5"));
        QList<ODBC::DataSource> sources;
        QCOMPARE(ODBC::OdbcDsnList(sources), 1);
        QCOMPARE(sources.front().name, QStringLiteral("HOJ"));
        QCOMPARE(sources.front().description, QStringLiteral("SQLite3"));

        // Through the driver, the data source reads the database file, blanks in its path kept.
        TempDatabase temp;
        seedSampleStaff(temp.db());
        const QString folder = temp.folder() + QStringLiteral("/program files/zeb");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/data.mdb");
        temp.db().close();
        QVERIFY(QFile::copy(temp.path(), path));

        QVERIFY(ODBC::OdbcNewDsn("SQLite3", "HOJ", "カデマ", "(Local)", path, QString()));
        QCOMPARE(
            staffNamesThroughDataSource(QStringLiteral("HOJ")),
            (QStringList{QStringLiteral("青木"), QStringLiteral("伊藤"), QStringLiteral("上田")}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_ini;
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
