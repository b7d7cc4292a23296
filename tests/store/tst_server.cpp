#include "CalendarStore.h"
#include "Database.h"
#include "DatabaseCopy.h"
#include "MonthLog.h"
#include "Odbc.h"
#include "Schema.h"
#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"
#include "TestRows.h"
#include "TestServer.h"
#include "TimesheetStore.h"

#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

const QDate kMarch1(2004, 3, 1);

MonthHeader march(const QString& code)
{
    return {code, {}, {}, "200403", kMarch1, kMarch1.addDays(30), 160, 2.5, 0.25, 20};
}

// A month of every kind of row: staff, summary and days, a closing, history and the calendar.
void fillOffice(Database& db)
{
    seedSampleStaff(db);
    db.execute("INSERT INTO CMSTAFFKIHONMST VALUES ('0012', NULL, NULL)");
    for (const QString code : {"0001", "0005"})
        saveMonth(db, march(code), workedMonth(code, "200403", kMarch1, 31));
    closeMonth(db, stampedHistoryEntry("0001", "200403", "締め", "𠮷野家の行"));
    saveCompanyDayOff(db, {QDate(2004, 3, 12), "創立記念日"});
    setHolidaysAreRestDays(db, true);
}

} // namespace

class TestServerStore : public QObject {
    Q_OBJECT

private slots:
    void anEmptyDatabaseGetsTheSchemaAndAnOlderOneIsUpgraded()
    {
        const ServerConnection server = TestServer::instance()->freshDatabase();
        {
            Database empty(server);
            QCOMPARE(serverState(empty), ServerState::Empty);
        }
        {
            const std::unique_ptr<Database> db = openDatabase(server);
            QCOMPARE(serverState(*db), ServerState::Current);
            // As a server of the version before revisions.
            db->execute("DROP TABLE KYKAITEIKANRI");
            db->execute("DROP TABLE CMKAITEIKANRI");
            db->execute("ALTER TABLE KYKINTAISYUKEIJL DROP COLUMN kihon40");
            db->execute("DROP TABLE CMSTAFFJOUKENMST");
            db->execute("DROP TABLE KYYUKYUFUYOJL");
            db->execute("DROP TABLE KYHOUTEIJL");
            db->execute("DROP TABLE CMKYUYOLAYOUT");
            db->execute("UPDATE nubira_schema SET version = 3");
            QCOMPARE(serverState(*db), ServerState::Older);
        }
        const std::unique_ptr<Database> db = openDatabase(server);
        QCOMPARE(serverState(*db), ServerState::Current);
        QCOMPARE(monthRevision(*db, "0001", "200403"), 0);
    }

    void aDatabaseThatIsNotOursIsRefused_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("said");
        addTestRow("a table of another program", "CREATE TABLE orders (id INTEGER)",
                   "構成が異なります");
        addTestRow("a trigger",
                   "CREATE FUNCTION f() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RETURN NEW; "
                   "END'; CREATE TRIGGER t BEFORE INSERT ON KYTIMESHEETJL FOR EACH ROW EXECUTE "
                   "FUNCTION f()",
                   "構成が異なります");
        addTestRow("made by a newer version", "UPDATE nubira_schema SET version = 99", "新しい版");
    }
    void aDatabaseThatIsNotOursIsRefused()
    {
        QFETCH(QString, sql);
        QFETCH(QString, said);
        const ServerConnection server = TestServer::instance()->freshDatabase();
        openDatabase(server)->execute(sql);
        try {
            openDatabase(server);
            QFAIL("a database that is not ours opened");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().contains("ヌビラのデータベースとして使えません") &&
                         error.message().contains(said),
                     qPrintable(error.message()));
        }
    }

    void aFailedConnectionSaysWhy_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("shared"); // the password file readable by others
        QTest::addColumn<QString>("advice");
        addTestRow("no such database", "nowhere", "nubira", "", "", false, "データベース nowhere");
        addTestRow("no such user", "postgres", "nobody", "", "", false, "ユーザー nobody");
        addTestRow("wrong password", "postgres", "clerk", "wrong", "", false, "パスワードが違う");
        addTestRow("no server there", "postgres", "nubira", "", "", false, "に届きません");
        addTestRow("the right password", "postgres", "clerk", "right", "", false, "");
        addTestRow("the password typed", "postgres", "clerk", "wrong", "right", false, "");
        addTestRow("a password file others can read", "postgres", "clerk", "right", "", true,
                   "ほかの人も読めるため");
    }
    void aFailedConnectionSaysWhy()
    {
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, advice);
        QFETCH(QString, typed);
        QFETCH(bool, shared);
        const QString folder = TestServer::instance()->socketFolder();
        QTemporaryDir home;
        const QString passwords = home.filePath("pgpass");
        QFile file(passwords);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("*:*:*:clerk:%1\n").arg(password).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                            (shared ? QFile::ReadOther : QFile::Permissions()));
        qputenv("PGPASSFILE", passwords.toUtf8());
        const QString host =
            QTest::currentDataTag() == QLatin1String("no server there") ? home.path() : folder;
        try {
            ServerConnection server{host, 5432, database, user};
            server.password = typed;
            Database db(server);
            QVERIFY2(advice.isEmpty(), "connected");
        } catch (const StoreError& error) {
            QVERIFY2(!advice.isEmpty() && error.message().contains(advice),
                     qPrintable(error.message()));
        }
        qunsetenv("PGPASSFILE");
    }

    void aHeldLockEndsTheWaitAndWritesNothing()
    {
        // Another clerk's job holds the day table; the save gives up after its wait, says so,
        // and the month stays as it was.
        const ServerConnection server = TestServer::instance()->freshDatabase();
        const std::unique_ptr<Database> db = openDatabase(server);
        seedSampleStaff(*db);
        const QStringList before = allRows(*db);
        Database job(server);
        Transaction held(job);
        job.execute("LOCK TABLE KYTIMESHEETJL IN ACCESS EXCLUSIVE MODE");
        try {
            saveMonth(*db, march("0001"), workedMonth("0001", "200403", kMarch1, 31));
            QFAIL("the save went through");
        } catch (const StoreError& error) {
            QVERIFY2(
                error.message().startsWith(
                    "ほかの担当者または処理がデータを使っているため、15 秒待って取り止めました。"
                    "何も書き込まれていません。"),
                qPrintable(error.message()));
        }
        held.commit();
        QCOMPARE(allRows(*db), before);
    }

    void aFullServerIsToldAsFull()
    {
        // A clerk's role allowed one connection: the second is refused as a full server is.
        ServerConnection server = TestServer::instance()->freshDatabase();
        server.user = "office";
        TestServer::instance()->runAsSuperuser("CREATE ROLE office LOGIN CONNECTION LIMIT 1");
        Database first(server);
        try {
            Database second(server);
            QFAIL("a second connection was made");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("サーバー %1 への接続数が上限に達しています。")
                             .arg(server.caption())),
                     qPrintable(error.message()));
        }
    }

    void aDroppedConnectionLeavesTheOldMonth()
    {
        const ServerConnection server = TestServer::instance()->freshDatabase();
        const std::unique_ptr<Database> db = openDatabase(server);
        seedSampleStaff(*db);
        saveMonth(*db, march("0001"), workedMonth("0001", "200403", kMarch1, 31));
        const QStringList before = allRows(*db);
        MonthHeader changed = march("0001");
        changed.kihon1 = 1;
        try {
            Transaction save(*db);
            SaveSummary(*db, changed);
            // The server goes away in the middle of the save.
            TestServer::instance()->runAsSuperuser(
                QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "datname = '%1' AND pid <> pg_backend_pid()")
                    .arg(server.database));
            SaveDayRows(*db, changed, preparedMonth("0001", "200403", kMarch1, 31));
            save.commit();
            QFAIL("the save went through");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().startsWith("サーバーとの接続が切れました。"),
                     qPrintable(error.message()));
        }
        // The next command connects again and finds the month as it was before the save.
        QCOMPARE(allRows(*db), before);
        // Dropped while idle, the connection is made again without a word.
        TestServer::instance()->runAsSuperuser(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                           "datname = '%1' AND pid <> pg_backend_pid()")
                .arg(server.database));
        saveMonth(*db, changed, preparedMonth("0001", "200403", kMarch1, 31));
        QCOMPARE(openDatabase(server)->query("SELECT kihon1 FROM KYKINTAISYUKEIJL").next(), true);
    }

    void aBackupMovesAnOfficeToTheServerAndBack()
    {
        QTemporaryDir folder;
        const QString office = folder.filePath("office.tim");
        createDatabase(office);
        const std::unique_ptr<Database> file = openDatabase(office);
        fillOffice(*file);
        const QStringList rows = allRows(*file);

        // Restored onto a server that already holds other rows: they are replaced.
        const std::unique_ptr<Database> server =
            openDatabase(TestServer::instance()->freshDatabase());
        SaveStaff(*server, {"0777", "消える", ""});
        copyAllRows(*file, *server);
        QCOMPARE(allRows(*server), rows);
        const OfficeCalendarEntries calendar =
            loadOfficeCalendar(*server, kMarch1, kMarch1.addDays(30));
        QVERIFY(calendar.holidaysAreRestDays);
        QCOMPARE(calendar.daysOff,
                 (std::vector<CompanyDayOff>{{QDate(2004, 3, 12), "創立記念日"}}));
        // The history numbers go on after the restored ones.
        addHistory(*server, stampedHistoryEntry("0005", "200403", "保存", ""));

        const QString back = folder.filePath("back.tim");
        exportToFile(*server, back);
        const QStringList expected = allRows(*server);
        QCOMPARE(allRows(*openDatabase(back)), expected);
        QCOMPARE(expected.size(), rows.size() + 1);

        // A summary holding a text where hours go cannot be stored on the server: the restore
        // stops there, as a whole.
        runForeignSql(back, "INSERT INTO KYKINTAISYUKEIJL VALUES ('0001', '200404', "
                            "'2004-04-01', '2004-04-30', 'eight', 0, 0, 0, NULL)");
        QVERIFY_THROWS_EXCEPTION(StoreError, copyAllRows(*openDatabase(back), *server));
        QCOMPARE(allRows(*server), expected);
    }

    void theDataSourcePointsAtTheServer()
    {
        QTemporaryDir ini;
        useScratchDataSources(ini);
        const std::unique_ptr<Database> server =
            openDatabase(TestServer::instance()->freshDatabase());
        seedSampleStaff(*server);
        QVERIFY(registerProgramDataSource(*server));
        // Encrypted as the program's own connection is (a socket of this machine: prefer).
        QCOMPARE(QSettings(ini.filePath("odbc.ini"), QSettings::IniFormat).value("HOJ/SSLmode"),
                 "prefer");
        QCOMPARE(staffNamesThroughDataSource("HOJ"), (QStringList{"青木", "伊藤", "上田"}));
    }
};

NUBIRA_TEST_MAIN_ON_ENGINES(TestServerStore)
#include "tst_server.moc"
