#include "Database.h"
#include "Schema.h"
#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"

#include <QFile>

#include <QTest>
#include <sqlite3.h>

class TestDatabase : public QObject {
    Q_OBJECT

private slots:
    void openRefusesWhatIsNotOurDatabase_data();
    void openRefusesWhatIsNotOurDatabase();
    void createNeverOverwrites();
    void innerTransactionRollsBackAlone();
    void bindsValuesLiterally();
    void connectionsDistrustTheSchema();
    void engineFailuresAreToldInJapanese_data();
    void engineFailuresAreToldInJapanese();
};

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void runSql(const QString& path, const QString& sql)
{
    Database db(path);
    db.execute(sql);
}

} // namespace

void TestDatabase::openRefusesWhatIsNotOurDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << "missing";
    QTest::newRow("text file") << "text";
    QTest::newRow("foreign SQLite file") << "foreign";
    QTest::newRow("a field missing") << "field";
    QTest::newRow("stored query missing") << "view";
}

void TestDatabase::openRefusesWhatIsNotOurDatabase()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.mdb"));
    if (kind == "text") {
        writeFile(path, "staffCd,staffNm\n0001,山田\n" + QByteArray(2000, 'x'));
    } else if (kind == "foreign") {
        writeFile(path, QByteArray());
        runSql(path, QStringLiteral("CREATE TABLE other (a TEXT)"));
    } else if (kind == "field") {
        QVERIFY(CreateDatabase(path));
        runSql(path, QStringLiteral("ALTER TABLE CMSTAFFKIHONMST RENAME COLUMN staffKm TO kana"));
    } else if (kind == "view") {
        QVERIFY(CreateDatabase(path));
        runSql(path, QStringLiteral("DROP VIEW Q_CMSTAFFKIHONMST"));
    }
    QVERIFY_THROWS_EXCEPTION(StoreError, OpenDatabase(path));
}

void TestDatabase::createNeverOverwrites()
{
    TempDatabase temp;
    SaveStaff(temp.db(), {QStringLiteral("0001"), QStringLiteral("山田"), QStringLiteral("ﾔﾏﾀﾞ")});
    QVERIFY(!CreateDatabase(temp.path()));
    QCOMPARE(CountStaff(temp.db(), QString(), StaffField::staffCd), 1);
    QVERIFY(!QFile::exists(temp.path() + QStringLiteral(".new")));
}

void TestDatabase::innerTransactionRollsBackAlone()
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
    QCOMPARE(temp.scalar(QStringLiteral(
                 "SELECT group_concat(staffCd) FROM (SELECT staffCd FROM CMSTAFFKIHONMST "
                 "ORDER BY staffCd)")),
             QStringLiteral("0001,0003"));
}

void TestDatabase::bindsValuesLiterally()
{
    TempDatabase temp;
    const QString hostile = QStringLiteral("'); DROP TABLE CMSTAFFKIHONMST; --");
    SaveStaff(temp.db(), {QStringLiteral("0001"), hostile, QString()});
    QCOMPARE(GetStaff(temp.db(), QStringLiteral("0001")).staffNm, hostile);
}

void TestDatabase::connectionsDistrustTheSchema()
{
    TempDatabase temp;
    QCOMPARE(temp.scalar("PRAGMA trusted_schema"), QStringLiteral("0"));
    int defensive = -1;
    sqlite3_db_config(temp.handle(), SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive);
    QCOMPARE(defensive, 1);
    temp.db().execute("PRAGMA writable_schema = ON"); // refused without a word in defensive mode
    QVERIFY_THROWS_EXCEPTION(StoreError,
                             temp.db().execute("UPDATE sqlite_master SET sql = '' WHERE 0"));
}

void TestDatabase::engineFailuresAreToldInJapanese_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("advice");
    QTest::addColumn<QString>("engine");
    QTest::newRow("read-only") << "readonly"
                               << "読み取り専用"
                               << "readonly database";
    QTest::newRow("disk full") << "full"
                               << "空き容量"
                               << "full";
}

void TestDatabase::engineFailuresAreToldInJapanese()
{
    QFETCH(QString, fault);
    QFETCH(QString, advice);
    QFETCH(QString, engine);
    TempDatabase temp;
    Database& db = temp.db();
    VerifyWritable(db);
    if (fault == "readonly") {
        db.execute("PRAGMA query_only = 1");
    } else {
        Rows pages = db.query("PRAGMA page_count");
        QVERIFY(pages.next());
        db.execute(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.value(0).toInt()));
    }
    try {
        if (fault == "readonly")
            VerifyWritable(db);
        for (int i = 0; i < 1000; ++i)
            SaveStaff(db, {QStringLiteral("%1").arg(i, 4, 10, QChar(u'0')), QString(200, u'名'),
                           QString()});
        QFAIL("the fault did not stop the writing");
    } catch (const StoreError& error) {
        QVERIFY2(error.message().contains(advice), qPrintable(error.message()));
        QVERIFY2(error.message().contains(engine), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
