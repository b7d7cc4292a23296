#include "BackupFiles.h"
#include "CalendarStore.h"
#include "ChildScreens.h"
#include "Common.h"
#include "Database.h"
#include "InputFields.h"
#include "LegalStore.h"
#include "MainWindow.h"
#include "MonthLegal.h"
#include "MonthLog.h"
#include "PayrollCsv.h"
#include "ReportPaint.h"
#include "Schema.h"
#include "StaffStore.h"
#include "TimesheetStore.h"
#include "WholeFile.h"
#include "frmPayroll.h"
#include "frmPayrollLayout.h"
#include "modOption.h"

#include "Messages.h"
#include "ScreenTest.h"
#include "TempDatabase.h"
#include "TestRows.h"
#include "TestServer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTest>

#include <csignal>

#include <sys/resource.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every row of the program's tables in a database file: what a backup must hold.
QStringList everyRow(const QString& path)
{
    Database db(path);
    return allRows(db);
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A working screen whose clerk keeps unsaved work when asked: it refuses to close.
class KeptScreen : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        seedSampleStaff(m_temp->db());
        for (const QString code : {"0001", "0005", "0009"}) {
            for (const QDate first : {QDate(2005, 1, 1), QDate(2005, 2, 1)}) {
                const QString month = first.toString("yyyyMM");
                saveMonth(m_temp->db(),
                          {code, {}, {}, month, first, first.addDays(27), 160, 1, 2, 20},
                          workedMonth(code, month, first, 28));
            }
        }
        QVERIFY(DbOpen(livePath()));
    }

    void cleanup()
    {
        delete gMDIForm;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        gDb.reset();
        m_temp.reset();
        QDir(m_outside.path()).removeRecursively();
        QDir().mkpath(m_outside.path());
    }

    void exportThenImportKeepsEveryRow()
    {
        const QStringList before = everyRow(livePath());
        const QString path = outside("backup.tim");
        {
            ScriptedMessages messages;
            ScriptedFiles files({path});
            WindowEvents progress("frmStopWatch", QEvent::Show);
            DataOut(nullptr);
            QCOMPARE(progress.count(), 1);
            QVERIFY(files.asked().first().save);
            QCOMPARE(files.asked().first().filter, QStringLiteral("timファイル(*.tim)"));
            QCOMPARE(messages.texts(), QStringList{path + "バックアップファイルを作成しました。 "});
        }
        QCOMPARE(everyRow(path), before);
        QVERIFY(gDb && gDb->isOpen());

        // Changes after the backup are undone by the restore.
        DeleteStaff(*gDb, "0001");
        SaveStaff(*gDb, {"0099", "新人", "ｼﾝｼﾞﾝ"});
        WindowEvents progress("frmStopWatch", QEvent::Show);
        QCOMPARE(restoreFrom(path), restoredFrom(path));
        QCOMPARE(progress.count(), 3); // checking the file, carrying the history, copying it in
        QVERIFY(gDb && gDb->isOpen());
        QCOMPARE(staffCount(), 3);
        QCOMPARE(GetStaff(*gDb, "0001").staffNm, QStringLiteral("青木"));
        QCOMPARE(CountReportRows(*gDb, "0000", "9999", "200501", "200502"), 3 * 2 * 28);
        QVERIFY(!QFileInfo::exists(backupPath(livePath())));
    }

    void aRestoreKeepsTheAuditTrailAndRevisions()
    {
        // A backup without revisions, as files of earlier versions are; then a month is closed
        // and another month's change recorded, while a screen holds a month as loaded.
        const QString path = backupFile();
        runForeignSql(path, "DELETE FROM KYKAITEIKANRI");
        const int loaded = monthRevision(*gDb, "0005", "200502");
        closeMonth(*gDb, stampedHistoryEntry("0001", "200502", "締め"));
        addHistory(*gDb, stampedHistoryEntry("0009", "200502", "保存", "02/01 …"));

        const QString question =
            path + " から復元すると、今のデータのうち次のものが元に戻ります。\n"
                   "・締め済みの月のうち、ファイルでは締められていない月：1件（0001 青木 "
                   "2005年02月分）\n・ファイルより後に記録された変更：2件（変更履歴は残ります）\n"
                   "復元しますか？";
        {
            ScriptedMessages kept({int(kMsgNo)});
            ScriptedFiles files({path});
            DataIn(nullptr);
            QCOMPARE(kept.texts(), QStringList{question});
            QCOMPARE(kept.kinds(), QList<int>{kMsgRiskyQuestion});
            QVERIFY(isMonthClosed(*gDb, "0001", "200502"));
        }
        QCOMPARE(restoreFrom(path), (QStringList{question} + restoredFrom(path)));
        // The closing follows the file; its history stays, with the restore's own entry.
        QVERIFY(!isMonthClosed(*gDb, "0001", "200502"));
        QStringList history;
        for (const HistoryEntry& e : loadHistory(*gDb, "0001", "200502"))
            history << e.sousa + ' ' + e.naiyou.section(u'\n', 0, 0);
        QCOMPARE(history, (QStringList{"復元 ファイル " + path + " から復元",
                                       "締め 合計 160.00/1.00/2.00/20.00"}));
        QCOMPARE(loadHistory(*gDb, "0009", "200502").size(), 2u);
        // The screen that loaded a month before the restore cannot save over the restored one.
        QVERIFY_THROWS_EXCEPTION(
            StaleChange,
            saveMonth(*gDb, {"0005", {}, {}, "200502", QDate(2005, 2, 1), QDate(2005, 2, 28), 92},
                      {}, loaded));
    }

    void anOfficeMovesToTheServerAndBack()
    {
        if (!TestServer::instance())
            QSKIP("no PostgreSQL server binaries installed");
        const QString office = backupFile();
        gDb = openDatabase(TestServer::instance()->freshDatabase());
        const QString everyClerk = "サーバーのデータは、すべての担当者の分が置き換わります。";
        const QStringList said = restoreFrom(office);
        QVERIFY(said.first().contains(everyClerk));
        QCOMPARE(said.last(), restoredFrom(office).first());
        QCOMPARE(CountReportRows(*gDb, "0000", "9999", "200501", "200502"), 3 * 2 * 28);

        const QString back = outside("from the server.tim");
        {
            ScriptedMessages messages;
            ScriptedFiles files({back});
            DataOut(nullptr);
            QCOMPARE(messages.texts(), QStringList{back + "バックアップファイルを作成しました。 "});
        }
        DeleteStaff(*gDb, "0001");
        QCOMPARE(restoreFrom(back).last(), restoredFrom(back).first());
        QCOMPARE(staffCount(), 3);
        QCOMPARE(CountReportRows(*gDb, "0000", "9999", "200501", "200502"), 3 * 2 * 28);
        QCOMPARE(loadHistory(*gDb, "0001", "200501").size(), 2u); // one entry for each restore
    }

    void exportNamesTheFileAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        addTestRow("no extension", "monthly", "monthly.tim");
        addTestRow("upper case", "monthly.TIM", "monthly.TIM.tim");
        addTestRow("over an old backup", "monthly.tim", "monthly.tim");
    }
    void exportNamesTheFileAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        write(outside("monthly.tim"), "an old backup"); // the dialog has asked about replacing it
        ScriptedMessages messages;
        ScriptedFiles files({outside(typed)});
        DataOut(nullptr);
        QCOMPARE(everyRow(outside(written)), everyRow(livePath()));
        QCOMPARE(messages.texts(),
                 QStringList{outside(written) + "バックアップファイルを作成しました。 "});
    }

    void cancelChangesNothing()
    {
        const QByteArray before = contents(livePath());
        ScriptedMessages messages;
        ScriptedFiles cancelled({});
        DataOut(nullptr);
        DataIn(nullptr);
        QCOMPARE(cancelled.asked().size(), 2);
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(contents(livePath()), before);
        QVERIFY(gDb && gDb->isOpen());
    }

    void aReaderHoldingATransactionBlocksNoSave()
    {
        // A program reading through the data source holds a read transaction open, as pyodbc
        // does by default, across a save and a backup.
        {
            QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
            reader.setDatabaseName(livePath());
            QVERIFY(reader.open());
            QSqlQuery read(reader);
            QVERIFY(read.exec("BEGIN") && read.exec("SELECT count(*) FROM KYTIMESHEETJL"));
            QVERIFY(read.next());
            saveMonth(*gDb, {"0001", {}, {}, "200503", QDate(2005, 3, 1), QDate(2005, 3, 28), 160},
                      workedMonth("0001", "200503", QDate(2005, 3, 1), 28));
            QCOMPARE(
                CountReportRows(*openDatabase(backupFile()), "0001", "0001", "200503", "200503"),
                28);
            // A restore cannot move the file while the reader holds pages of its log.
            QVERIFY(restoreFrom(backupFile()).last().startsWith("復元に失敗しました。\nほかの"));
            read.finish();
            QVERIFY(read.exec("COMMIT"));
        }
        QSqlDatabase::removeDatabase("reader");
    }

    void refusedImports_data()
    {
        // Each file but the first three is a copy of the live database changed by another program.
        QTest::addColumn<QString>("sql");    // "text", "truncated" and "tail" for files of no SQL
        QTest::addColumn<QString>("reason"); // how the reason begins, after the fixed message
        const QString otherStructure = "ヌビラのデータベースではありません（構成が異なります）";
        addTestRow("text file", "text", "SQLite のデータベースファイルではありません");
        addTestRow("truncated copy", "truncated", "ファイルの大きさ");
        addTestRow("a sparse tail after the pages", "tail", "ファイルの大きさ");
        addTestRow(
            "trigger ignoring day rows",
            "CREATE TRIGGER t BEFORE INSERT ON KYTIMESHEETJL BEGIN SELECT RAISE(IGNORE); END",
            otherStructure);
        addTestRow("day table replaced by a view",
                   "ALTER TABLE KYTIMESHEETJL RENAME TO kept; CREATE VIEW KYTIMESHEETJL AS SELECT "
                   "* FROM kept; CREATE TRIGGER t INSTEAD OF INSERT ON KYTIMESHEETJL BEGIN SELECT "
                   "1; END",
                   otherStructure);
        addTestRow(
            "stored query as a cross join",
            "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, 'LEFT JOIN "
            "KYKINTAISYUKEIJL', 'CROSS JOIN KYKINTAISYUKEIJL') WHERE name = 'Q_CMSTAFFKIHONMST'",
            otherStructure);
        addTestRow("staff key without its uniqueness",
                   "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
                   "'PRIMARY KEY', '') WHERE name = 'CMSTAFFKIHONMST'",
                   "chosen.tim: データベースファイルが壊れています");
        addTestRow("statistics steering the queries", "ANALYZE", otherStructure);
        // The definition reads as the program writes it, but the index holds only the first month:
        // only the full integrity check sees the missing entries.
        addTestRow(
            "index holding part of its table",
            "DROP INDEX KYTIMESHEETJL_syoriDt; CREATE INDEX KYTIMESHEETJL_syoriDt ON KYTIMESHEETJL "
            "(syoriDt, staffCd) WHERE syoriDt < '200502'; PRAGMA writable_schema = ON; UPDATE "
            "sqlite_master SET sql = substr(sql, 1, instr(sql, ' WHERE') - 1) WHERE name = "
            "'KYTIMESHEETJL_syoriDt'",
            "データベースが壊れています");
        addTestRow("made by a newer version", "PRAGMA user_version = 99",
                   "このデータベースは新しい版のヌビラで作成されています（版 99）");
        // Rows the program never writes: every later print and payroll file would fail on them.
        const QString oneDay = " WHERE staffCd = '0001' AND kintaiDt = '2005-01-03'";
        addTestRow("a blob for hours", "UPDATE KYTIMESHEETJL SET kihon1 = x'00ff'" + oneDay,
                   "表 KYTIMESHEETJL の列 kihon1 に、ヌビラが書き込まない値 X'00FF'");
        addTestRow("a day that is no date",
                   "UPDATE KYTIMESHEETJL SET kintaiDt = '2005-02-30'" + oneDay,
                   "表 KYTIMESHEETJL の列 kintaiDt に、ヌビラが書き込まない値 '2005-02-30'");
        addTestRow("a five-character code",
                   "UPDATE CMSTAFFKIHONMST SET staffCd = '00011' WHERE staffCd = '0001'",
                   "表 CMSTAFFKIHONMST の列 staffCd");
        addTestRow("a code with a line break",
                   "UPDATE CMSTAFFKIHONMST SET staffCd = '00' || char(10) || '1' WHERE staffCd = "
                   "'0001'",
                   "表 CMSTAFFKIHONMST の列 staffCd");
        addTestRow("a class of no number", "UPDATE KYTIMESHEETJL SET syukinKb = '9'" + oneDay,
                   "表 KYTIMESHEETJL の列 syukinKb");
        addTestRow("a hire date that is no day",
                   "INSERT INTO CMSTAFFJOUKENMST VALUES ('0001', '2024-02-30', '', 5, 40, 8)",
                   "表 CMSTAFFJOUKENMST の列 nyusyaDt");
        addTestRow("a clock time of five digits",
                   "UPDATE KYTIMESHEETJL SET syukin = '09000'" + oneDay,
                   "表 KYTIMESHEETJL の列 syukin");
    }
    void refusedImports()
    {
        QFETCH(QString, sql);
        QFETCH(QString, reason);
        const QString path = outside("chosen.tim");
        if (sql == "text") {
            write(path, "スタッフ一覧\n0001,青木\n");
        } else if (sql == "truncated") {
            write(path, contents(backupFile()).left(contents(backupFile()).size() / 2));
        } else if (sql == "tail") {
            write(path, contents(backupFile()));
            QFile tail(path);
            QVERIFY(tail.resize(tail.size() + (qint64(1) << 30))); // sparse: no blocks written
        } else {
            write(path, contents(backupFile()));
            runForeignSql(path, sql);
        }
        const QByteArray before = contents(livePath());
        const QStringList said = restoreFrom(path);
        QCOMPARE(said.size(), 2);
        QVERIFY2(said[0].startsWith("データベースのオープンに失敗しました。\n") &&
                     said[0].contains(reason),
                 qPrintable(said[0]));
        QCOMPARE(said[1], "復元に失敗しました。");
        QVERIFY(gDb && gDb->isOpen());
        QCOMPARE(staffCount(), 3);
        QCOMPARE(contents(livePath()), before);
        QVERIFY(!QFileInfo::exists(backupPath(livePath())));
    }

    void backupOfAnEarlierVersionIsUpgraded()
    {
        const QString path = backupFile();
        // As files were before the version was kept, and before the office's calendar.
        runForeignSql(
            path, "DROP TABLE CMKAISYAKYUJITUMST; DROP TABLE CMSETTEIMST; DROP TABLE KYSIMEKANRI; "
                  "DROP TABLE KYHENKOURIREKI; DROP TABLE KYKAITEIKANRI; DROP TABLE CMKAITEIKANRI; "
                  "DROP TABLE CMSTAFFJOUKENMST; DROP TABLE KYYUKYUFUYOJL; DROP TABLE KYHOUTEIJL; "
                  "DROP TABLE CMKYUYOLAYOUT; "
                  "ALTER TABLE KYKINTAISYUKEIJL DROP COLUMN kihon40; "
                  "PRAGMA user_version = 0");
        QCOMPARE(restoreFrom(path), restoredFrom(path));
        Rows version = gDb->query("PRAGMA user_version");
        QVERIFY(version.next());
        QCOMPARE(version.value(0).toInt(), currentSchemaVersion());
        QCOMPARE(staffCount(), 3);
        saveCompanyDayOff(*gDb, {QDate(2005, 12, 29), QStringLiteral("年末年始")});
        QCOMPARE(loadOfficeCalendar(*gDb, QDate(2005, 1, 1), QDate(2005, 12, 31)).daysOff.size(),
                 1u);
    }

    void importAfterAnInterruptedOne()
    {
        const QString path = backupFile();
        const QString leftover = backupPath(livePath());
        const QDir folder = QFileInfo(livePath()).dir();
        // Two restores cut off, their leftovers set aside within the same second.
        for (const char* before : {"the database before a cut-off import", "and before another"}) {
            write(leftover, before);
            DeleteStaff(*gDb, "0005");
            QCOMPARE(restoreFrom(path).last(), restoredFrom(path).first());
            QCOMPARE(staffCount(), 3);
            QVERIFY(!QFileInfo::exists(leftover));
        }
        // Each leftover is kept under a dated name of its own.
        QByteArrayList kept;
        for (const QString& name : folder.entryList({"data-*.bak"}, QDir::Files))
            kept << contents(folder.filePath(name));
        std::sort(kept.begin(), kept.end());
        QCOMPARE(kept,
                 (QByteArrayList{"and before another", "the database before a cut-off import"}));
        QVERIFY(folder.entryList({"work-*"}, QDir::Dirs).isEmpty()); // the restores' copies gone
    }

    void startUpRemovesAKilledRestoresCopy()
    {
        QProcess gone;
        gone.start("sleep", {"0.1"});
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        const QDir folder = QFileInfo(livePath()).dir();
        const QString killed = QStringLiteral("work-%1-a").arg(pid);
        const QString running = QStringLiteral("work-%1-b").arg(QCoreApplication::applicationPid());
        for (const QString& work : {killed, running}) {
            QVERIFY(folder.mkdir(work));
            write(folder.filePath(work + "/candidate.mdb"), "a copy of every member's hours");
        }
        removeAbandonedWorkFolders(folder.path());
        QCOMPARE(folder.entryList({"work-*"}, QDir::Dirs), QStringList{running});
    }

    void startUpPutsBackAnInterruptedRestore()
    {
        DbClose();
        const QByteArray before = contents(livePath());
        QVERIFY(QFile::rename(livePath(), backupPath(livePath())));
        QVERIFY(recoverInterruptedRestore(livePath()));
        QCOMPARE(contents(livePath()), before);
        QVERIFY(!QFileInfo::exists(backupPath(livePath())));
        QVERIFY(!recoverInterruptedRestore(livePath())); // nothing to do with the file there
    }

    void importClosesTheWorkingScreens_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("screenKept");
        QTest::addColumn<bool>("restored");
        addTestRow("restored", "backup", false, true);
        addTestRow("refused file: screens untouched", "text", false, false);
        addTestRow("clerk stays with unsaved work", "backup", true, false);
    }
    void importClosesTheWorkingScreens()
    {
        QFETCH(QString, file);
        QFETCH(bool, screenKept);
        QFETCH(bool, restored);
        QString path = outside("chosen.tim");
        if (file == "backup")
            path = backupFile();
        else
            write(path, "0001,青木\n");
        SaveStaff(*gDb, {"0999", "新人", ""}); // not in the backup
        auto* main = new frmMDIForm(QString());
        main->show();
        QWidget* screen = main->mdiArea()->addSubWindow(screenKept ? new KeptScreen : new QWidget);
        screen->setAttribute(Qt::WA_DeleteOnClose);
        screen->show();

        const QStringList messages = restoreFrom(path, main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(main->mdiArea()->subWindowList().isEmpty(), restored);
        QCOMPARE(staffCount(), restored ? 3 : 4);
        if (restored)
            QCOMPARE(messages, restoredFrom(path));
        else if (!screenKept)
            QCOMPARE(messages.last(), QStringLiteral("復元に失敗しました。"));
        else
            QVERIFY(messages.isEmpty());
        delete main;
    }

    void payrollFile_data()
    {
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QByteArray>("start"); // the first bytes after the header line
        addTestRow("Shift_JIS", int(CsvEncoding::ShiftJis), QByteArray("0005,\"\x88\xc9\x93\xa1,"));
        addTestRow("UTF-8", int(CsvEncoding::Utf8Bom), QByteArray("0005,\"伊藤,"));
    }
    // A clerk keeps a layout for a payroll program and writes the law's hours in minutes, made
    // from the stored days of a month saved before the law's hours were kept.
    void payrollLayoutKeptAndUsed()
    {
        std::vector<DayRow> days = workedMonth("0009", "200501", QDate(2005, 1, 1), 31);
        for (DayRow& day : days)
            day.taisya = "2001"; // 9:00 to 20:01: two hours and a minute past 8 a day
        saveMonth(*gDb, {"0009", {}, {}, "200501", QDate(2005, 1, 1), QDate(2005, 1, 31)}, days);
        QPointer<frmPayroll> screen = addChild(new frmPayroll(QDate(2005, 2, 10)));
        screen->findChild<TextField*>("txt_staffCd_0")->setValue("0009");
        screen->findChild<ListField*>("cmb_encoding")->setCurrentIndex(1);
        QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_4"), Qt::LeftButton);
        QPointer<frmPayrollLayout> editor = gfrmPayrollLayout;
        QVERIFY(editor && editor->isVisible());
        editor->findChild<TextField*>("txt_layoutNm")->setValue("給与くん");
        editor->findChild<ListField*>("cmb_tanni")->setCurrentIndex(2); // minutes
        auto* columns = editor->findChild<QListWidget*>("lst_koumoku");
        for (int i = 0; i < columns->count(); ++i) {
            const QString key = columns->item(i)->data(Qt::UserRole).toString();
            columns->item(i)->setCheckState(key == "staffCd" || key == "kihon2" || key == "hougai"
                                                ? Qt::Checked
                                                : Qt::Unchecked);
        }
        ScriptedMessages said;
        QTest::mouseClick(editor->findChild<QPushButton*>("cmd_button_0"), Qt::LeftButton);
        QCOMPARE(screen->findChild<ListField*>("cmb_layout")->currentText(), "給与くん");

        const QString path = outside("kyuyo.csv");
        ScriptedFiles files({path});
        QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        // 26 days of 121 minutes past 8 hours (the 5 Sundays are the legal day off), and the 4
        // whole weeks of Monday to Saturday 8 hours past 40.
        QCOMPARE(QString::fromUtf8(contents(path)).remove(u'\uFEFF'),
                 QString("スタッフコード,残業時間（分）,法定外残業（分）\r\n0009,0,%1\r\n")
                     .arg(26 * 121 + 4 * 480));
        delete editor;
        delete screen;
    }

    void payrollFile()
    {
        QFETCH(int, encoding);
        QFETCH(QByteArray, start);
        SaveStaff(*gDb, {"0005", "伊藤,\"花子\"", ""});
        std::vector<DayRow> days = workedMonth("0009", "200501", QDate(2005, 1, 1), 28);
        days[2].syukinKb = "2";
        days[6].syukinKb = "1";
        days[4].syukin.clear();
        for (const auto& [day, dayClass] :
             {std::pair{8, "3"}, {9, "4"}, {10, "6"}, {11, "7"}, {12, "8"}, {13, "5"}})
            days[size_t(day)].syukinKb = dayClass;
        SaveDayRows(*gDb, {"0009", {}, {}, "200501", QDate(2005, 1, 1), QDate(2005, 1, 28)}, days);

        QPointer<frmPayroll> screen = addChild(new frmPayroll(QDate(2005, 2, 10)));
        screen->findChild<TextField*>("txt_staffCd_0")->setValue("0002"); // 0001 left out
        screen->findChild<ListField*>("cmb_encoding")->setCurrentIndex(encoding == 0 ? 0 : 1);
        const QString path = outside("payroll.csv");
        closeMonth(*gDb, stampedHistoryEntry("0009", "200501", "締め"));
        // A month not closed is named, and nothing is written unless the clerk says so.
        ScriptedMessages messages({int(kMsgNo)});
        ScriptedFiles files({path, path});
        const QString open =
            "2005年01月分のうち 1人の月が締められていません（0005 伊藤,\"花子\"）。"
            "\n締められていない月は、まだ変わることがあります。締められていない"
            "月も出力しますか？";
        WindowEvents progress("frmStopWatch", QEvent::Show);
        for (int run = 0; run < 2; ++run)
            QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        QCOMPARE(progress.count(), 2); // the rows are read with the progress window shown
        QCOMPARE(messages.texts(), (QStringList{open, open, path + " に 2 人分を出力しました。"}));
        QCOMPARE(files.asked().size(), 1);
        QVERIFY(files.asked().first().initial.endsWith("給与データ_200501.csv"));

        const QString text = QString::fromUtf8(
            "スタッフコード,スタッフ氏名,処理年月,期間開始,期間終了,出勤日数,休日出勤日数,公休日数,"
            "基本時間,残業時間,深夜時間,休憩時間,締め,有給休暇日数,欠勤日数,特別休暇日数,"
            "振替休日・代休日数\r\n"
            "0005,\"伊藤,\"\"花子\"\"\",200501,2005/01/01,2005/01/"
            "28,28,0,0,160.00,1.00,2.00,20.00,未締め,0,0,0,0\r\n"
            "0009,上田,200501,2005/01/01,2005/01/28,19,1,1,160.00,1.00,2.00,20.00,締め済,2,1,1,"
            "1\r\n");
        const QByteArray written = contents(path);
        QVERIFY(written.contains("\r\n" + start));
        QStringDecoder decoder(encoding == 0 ? "windows-31j" : "UTF-8");
        QCOMPARE(QString(decoder(written)), (encoding == 0 ? "" : "\uFEFF") + text);

        // What Shift_JIS cannot hold is refused by name; a month without rows says so.
        SaveStaff(*gDb, {"0009", "𠮷田", ""});
        QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        screen->findChild<DateField*>("txt_syoriDt")->setValue(QDate(2004, 1, 1));
        QTest::mouseClick(screen->findChild<QPushButton*>("cmd_button_2"), Qt::LeftButton);
        QCOMPARE(messages.texts().mid(4),
                 (QStringList{encoding == 0
                                  ? "スタッフ 0009 𠮷田 には Shift_JIS で書けない文字があります。"
                                    "スタッフ登録で直すか、UTF-8 で出力してください。"
                                  : path + " に 2 人分を出力しました。",
                              "出力対象データがありません。"}));
        delete screen;
    }

    // Each unit writes the stored figures exactly to the minute, with its unit in the header;
    // the standard layout is the file as it always was.
    void payrollLayouts_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("line");
        const QString name = "\"青木\r\n一郎\",";
        const QString quoted = "\"00\"\"1\"," + name;
        addTestRow("the standard file", int(HoursUnit::Decimal), true,
                   QString("スタッフコード,スタッフ氏名,処理年月,期間開始,期間終了,出勤日数,"
                           "休日出勤日数,公休日数,基本時間,残業時間,深夜時間,休憩時間,締め,"
                           "有給休暇日数,欠勤日数,特別休暇日数,振替休日・代休日数"),
                   quoted + "200501,2005/01/01,2005/01/31,20,1,10,7.33,0.00,0.13,20.00,未締め,"
                            "1.5,0,0,0");
        addTestRow("decimal hours", int(HoursUnit::Decimal), false,
                   QString("氏名,基本時間,法定外残業,うち60時間超"), name + "7.33,61.02,1.02");
        addTestRow("hours and minutes", int(HoursUnit::HoursMinutes), false,
                   QString("氏名,基本時間（時:分）,法定外残業（時:分）,うち60時間超（時:分）"),
                   name + "7:20,61:01,1:01");
        addTestRow("minutes", int(HoursUnit::Minutes), false,
                   QString("氏名,基本時間（分）,法定外残業（分）,うち60時間超（分）"),
                   name + "440,3661,61");
    }
    void payrollLayouts()
    {
        QFETCH(int, unit);
        QFETCH(bool, standard);
        QFETCH(QString, header);
        QFETCH(QString, line);
        // clang-format off
        PayrollRow row{"00\"1", "青木\r\n一郎", "200501", QDate(2005, 1, 1), QDate(2005, 1, 31),
                       20, 1, 10, 7 + 1.0 / 3, 0, 0.125, 20, false, 1.5, 0, 0, 0, {}};
        // clang-format on
        row.legal.overtime = 61 * 60 + 1;
        row.legal.overtimeOver60 = 61;
        PayrollLayout layout = PayrollLayout::standard();
        if (!standard) {
            layout = PayrollLayout::fromText("給与くん", PayrollLayout{"",
                                                                       HoursUnit(unit),
                                                                       {{"staffCd", "コード"},
                                                                        {"hougai", "法定外残業"},
                                                                        {"nosuch", "ない列"}}}
                                                             .toText());
            layout.columns = {{"staffNm", "氏名"},
                              {"kihon1", "基本時間"},
                              {"hougai", "法定外残業"},
                              {"hougai60", "うち60時間超"}};
            QVERIFY(layout.carriesLawsHours());
        }
        const QString text =
            QString::fromUtf8(payrollCsv({row}, CsvEncoding::Utf8Bom, layout).bytes)
                .remove(u'\uFEFF');
        QCOMPARE(text, header + "\r\n" + line + "\r\n");
        QCOMPARE(PayrollLayout::fromText("x", layout.toText()).columns, layout.columns);
    }

    void aFileNotWrittenWholeIsNotWrittenAtAll_data()
    {
        QTest::addColumn<QString>("writer");
        for (const char* writer : {"payroll file", "backup copy", "PDF"})
            QTest::newRow(writer) << writer;
    }
    void aFileNotWrittenWholeIsNotWrittenAtAll()
    {
        // The disk takes the first 100 bytes of a new file and no more, as a full disk does: a
        // small write goes into the file's buffer and fails only when it is flushed.
        QFETCH(QString, writer);
        const QString path = outside("target");
        write(path, "old");
        QString error;
        const auto attempt = [&] {
            if (writer == "payroll file")
                return writeWholeFile(path, QByteArray(500, 'x'), &error);
            if (writer == "backup copy")
                return copyWhole(livePath(), path, &error);
            return writeReportPdf({"t", QPageLayout(), {ReportPage{}}}, path, &error);
        };
        {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
            const rlimit full{100, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &full);
            const bool written = attempt();
            setrlimit(RLIMIT_FSIZE, &unlimited);
            QVERIFY(!written);
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(contents(path), "old");
        QCOMPARE(QDir(outside({})).entryList(QDir::Files), QStringList{"target"});
        QVERIFY(attempt());
        QVERIFY(contents(path).size() > 100);
    }

private:
    QString livePath() const { return m_temp->path(); }
    QString outside(const QString& name) const { return m_outside.filePath(name); }
    int staffCount() { return CountStaff(*gDb, QString(), StaffField::staffCd); }
    // Restores from the file as the clerk chooses it; the messages shown.
    QStringList restoreFrom(const QString& path, QWidget* owner = nullptr)
    {
        ScriptedMessages messages;
        ScriptedFiles files({path});
        DataIn(owner);
        return messages.texts();
    }
    static QStringList restoredFrom(const QString& path)
    {
        return {path + "ファイルを復元しました。 "};
    }
    QString backupFile()
    {
        const QString path = outside("backup.tim");
        ScriptedMessages messages;
        ScriptedFiles files({path});
        DataOut(nullptr);
        return path;
    }

    std::unique_ptr<TempDatabase> m_temp;
    QTemporaryDir m_outside;
};

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
