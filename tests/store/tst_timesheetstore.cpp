#include "LegalStore.h"
#include "MonthLog.h"
#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"
#include "TestRows.h"
#include "TestServer.h"
#include "TimesheetStore.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>

namespace {

const QDate kMarch1(2004, 3, 1);

MonthHeader header(const QString& code, const QString& month = "200403")
{
    return {code, "名前" + code, "ﾖﾐ" + code, month, kMarch1, kMarch1.addDays(30)};
}

} // namespace

class TestTimesheetStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        for (const QString code : {"0003", "0005", "0100"})
            SaveStaff(m_temp->db(), {code, "名前" + code, "ﾖﾐ" + code});
    }

    void cleanup() { m_temp.reset(); }
    // The law's settings come back as saved, with the defaults for what is not; a month's figures
    // go with the month.
    void lawsSettingsAndFigures()
    {
        Database& db = m_temp->db();
        QCOMPARE(loadLegalSettings(db).rulesKey(), LegalSettings{}.rulesKey());
        QVERIFY(!loadLegalSettings(db).enabled);
        LegalSettings settings;
        settings.enabled = true;
        settings.rules = {Qt::Monday, std::nullopt, BreakRule::LawMinimum};
        settings.agreement.firstMonth = 1;
        settings.agreement.specialClause = true;
        settings.agreement.monthlyLimit = 30 * 60;
        saveLegalSettings(db, settings);
        const LegalSettings back = loadLegalSettings(db);
        QVERIFY(back.enabled && back.agreement.specialClause);
        QCOMPARE(back.rulesKey(), QStringLiteral("1/0/1"));
        QCOMPARE(back.agreement.firstMonth, 1);
        QCOMPARE(back.agreement.monthlyLimit, 30 * 60);
        QCOMPARE(back.agreement.yearlyLimit, 360 * 60);

        saveMonth(db, header("0005"), workedMonth("0005", "200403", kMarch1, 31));
        saveLegalMonth(db, "0005", {"200403", {1, 2, 3, 4, 5, 6}, back.rulesKey()});
        saveLegalMonth(db, "0005", {"200403", {7, 2, 3, 4, 5, 6}, back.rulesKey()});
        const std::vector<StoredLegalMonth> stored =
            loadLegalMonths(db, "0005", "200401", "200412");
        QCOMPARE(stored.size(), size_t(1));
        QCOMPARE(stored[0].figures, (LegalMonth{7, 2, 3, 4, 5, 6}));
        QCOMPARE(loadLegalDays(db, "0005", QDate(2004, 3, 30), QDate(2004, 4, 2)).size(),
                 size_t(2));
        DeleteMonth(db, "0005", "200403");
        QVERIFY(loadLegalMonths(db, "0005", "200401", "200412").empty());
    }

    void stepping_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("expected"); // empty when nothing is found
        const auto row = [](const char* operation, const char* from, const char* expected,
                            const char* note) {
            QTest::addRow("%s from %s%s", operation, from, note) << operation << from << expected;
        };
        row("first", "0100", "0003", "");
        row("next", "0005", "0100", ": codes compare as text");
        row("next", "0004", "0005", ", a code not on file");
        row("find 0004", "0003", "", ": not on file");
    }
    void stepping()
    {
        QFETCH(QString, operation);
        QFETCH(QString, from);
        QFETCH(QString, expected);
        Database& db = m_temp->db();
        MonthHeader h = header(from);
        h.staffNm = "前の名前";
        h.kihon1 = 99;
        const MonthHeader before = h;
        bool found = false;
        if (operation == "first")
            found = FirstStaffMonth(db, h);
        else if (operation == "next")
            found = NextStaffMonth(db, h);
        else
            found = FindStaffMonth(db, h, operation.mid(5));
        QCOMPARE(found, !expected.isEmpty());
        if (!found) {
            QCOMPARE(h, before);
            return;
        }
        // The month and period stay; the member and the month's totals are read.
        QCOMPARE(h, (MonthHeader{expected, "名前" + expected, "ﾖﾐ" + expected, before.syoriDt,
                                 before.kikanSt, before.kikanEn}));
    }

    void steppingReadsOnlyItsMonthsTotals()
    {
        Database& db = m_temp->db();
        const MonthHeader saved{
            "0005", "名前0005", "ﾖﾐ0005", "200403", kMarch1, kMarch1.addDays(30),
            160.5,  12.25,      1.0 / 3,  20};
        saveMonth(db, saved, workedMonth("0005", "200403", kMarch1, 31));
        MonthHeader other = header("0003", "200402"); // another month's summary must not leak
        other.kihon1 = 7;
        SaveSummary(db, other);
        MonthHeader h = header("0003");
        QVERIFY(NextStaffMonth(db, h));
        QCOMPARE(h, saved);
        QVERIFY(PrevStaffMonth(db, h));
        QCOMPARE(h.kihon1, 0.0);
    }

    void saveWritesExactlyThePeriod()
    {
        saveMonth(m_temp->db(), header("0005"), workedMonth("0005", "200403", kMarch1, 31));
        for (const int days : {31, 28, 31}) {
            MonthHeader h = header("0003");
            h.kikanEn = kMarch1.addDays(days - 1);
            h.kihon1 = 8.0 * days;
            saveMonth(m_temp->db(), h, workedMonth("0003", "200403", kMarch1, days));
            QCOMPARE(storedDays("0003"), days);
            QCOMPARE(storedMonth(h, days).first, h);
        }
        QCOMPARE(storedDays("0005"), 31);
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYKINTAISYUKEIJL"), "2");
    }

    void savesAndDeletesAreOneCommitEach()
    {
        if (testingOnServer())
            QSKIP("counts the file's commits");
        const std::vector<DayRow> rows = workedMonth("0003", "200403", kMarch1, 31);
        QCOMPARE(m_temp->commitsDuring([&] { saveMonth(m_temp->db(), header("0003"), rows); }), 1);
        QCOMPARE(m_temp->commitsDuring([&] { DeleteMonth(m_temp->db(), "0003", "200403"); }), 1);
        QCOMPARE(m_temp->commitsDuring([&] { DeleteStaff(m_temp->db(), "0003"); }), 1);
    }

    void failedSaveLeavesTheOldMonthWhole_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("advice"); // what the message tells the clerk, where it says more
        addTestRow("the same day twice", "duplicate day", QString());
        addTestRow("the engine refuses the summary", "summary trigger", QString());
        addTestRow("the engine refuses the 20th day", "day trigger", QString());
        addTestRow("another connection is writing", "locked",
                   QStringLiteral("データベースが他のプログラムに使用されています。"));
    }
    void failedSaveLeavesTheOldMonthWhole()
    {
        QFETCH(QString, fault);
        QFETCH(QString, advice);
        if (testingOnServer() && fault != "duplicate day")
            QSKIP("the file's own triggers and locks");
        Database& db = m_temp->db();
        saveMonth(db, header("0003"), workedMonth("0003", "200403", kMarch1, 31));
        const auto old = storedMonth(header("0003"), 31);

        MonthHeader h = header("0003");
        h.kihon1 = 1;
        std::vector<DayRow> rows = preparedMonth("0003", "200403", kMarch1, 31);
        if (fault == "duplicate day")
            rows[20].kintaiDt = rows[19].kintaiDt;
        else if (fault == "summary trigger")
            db.execute("CREATE TRIGGER refuse BEFORE INSERT ON KYKINTAISYUKEIJL "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        else if (fault == "day trigger")
            db.execute(
                "CREATE TRIGGER refuse BEFORE INSERT ON KYTIMESHEETJL "
                "WHEN NEW.kintaiDt = '2004-03-20' BEGIN SELECT RAISE(ABORT, 'refused'); END");
        std::unique_ptr<Database> writer = db.openAnother();
        if (fault == "locked") {
            writer->execute("BEGIN IMMEDIATE");
            db.execute("PRAGMA busy_timeout = 300");
        }
        QElapsedTimer waited;
        waited.start();
        try {
            saveMonth(db, h, rows);
            QFAIL("the save went through");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().startsWith(advice), qPrintable(error.message()));
        }
        if (fault == "locked")
            QVERIFY(waited.elapsed() >= 250); // it waited for the other writer first
        writer.reset();
        QVERIFY(storedMonth(header("0003"), 31) == old);

        // The database is usable again at once: the next save goes through.
        if (!testingOnServer())
            db.execute("DROP TRIGGER IF EXISTS refuse");
        saveMonth(db, h, preparedMonth("0003", "200403", kMarch1, 31));
        QCOMPARE(storedMonth(header("0003"), 31).first.kihon1, 1.0);
    }

    void aFullDiskKeepsTheOldMonth()
    {
        if (testingOnServer())
            QSKIP("limits the file's size");
        // The file may grow no further: each month is saved empty, then rewritten with its times,
        // until a save finds no room.
        m_temp->db().execute("PRAGMA max_page_count = " + m_temp->scalar("PRAGMA page_count"));
        for (int m = 0; m < 200; ++m) {
            const QDate first = kMarch1.addMonths(m + 1);
            const QString month = first.toString("yyyyMM");
            MonthHeader h = header("0003", month);
            h.kikanSt = first;
            h.kikanEn = first.addDays(27);
            const std::vector<DayRow> empty = preparedMonth("0003", month, first, 28);
            bool firstSaveDone = false;
            try {
                saveMonth(m_temp->db(), h, empty);
                firstSaveDone = true;
                h.kihon1 = 8 * 28;
                saveMonth(m_temp->db(), h, workedMonth("0003", month, first, 28));
            } catch (const StoreError& error) {
                QVERIFY2(
                    error.message().startsWith("ディスクの空き容量が足りないため書き込めません。"),
                    qPrintable(error.message()));
                QCOMPARE(storedDays("0003", month), firstSaveDone ? 28 : 0);
                h.kihon1 = 0;
                if (firstSaveDone)
                    QVERIFY(storedMonth(h, 28) == std::make_pair(h, empty));
                return;
            }
        }
        QFAIL("the file never filled");
    }

    void twoClerksCannotOverwriteEachOther_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("memberDeleted"); // the other clerk deleted the member instead
        for (const char* change : {"save", "delete", "close", "reopen"}) {
            QTest::addRow("%s after a save", change) << QString(change) << false;
            QTest::addRow("%s after the member's delete", change) << QString(change) << true;
        }
        QTest::addRow("save of a month never written, after the member's delete")
            << "save new" << true;
    }
    void twoClerksCannotOverwriteEachOther()
    {
        // Two clerks, each with a connection of their own, load the same month.
        QFETCH(QString, change);
        QFETCH(bool, memberDeleted);
        Database& first = m_temp->db();
        const std::unique_ptr<Database> second = first.openAnother();
        const QString month = change == "save new" ? "200404" : "200403";
        const MonthHeader h = header("0003", month);
        if (change == "reopen")
            closeMonth(first, {QDateTime::currentDateTime(), "a", "0003", "200403", "締め", ""});
        const int loaded = monthRevision(first, "0003", month);
        QCOMPARE(monthRevision(*second, "0003", month), loaded);

        MonthHeader theirs = h;
        theirs.kihon1 = 99;
        const int saved =
            memberDeleted
                ? 0
                : saveMonth(*second, theirs, workedMonth("0003", month, kMarch1, 31), loaded);
        if (memberDeleted)
            DeleteStaff(*second, "0003");
        const HistoryEntry entry{QDateTime::currentDateTime(), "a", "0003", month, change, ""};
        try {
            if (change.startsWith("save"))
                saveMonth(first, h, preparedMonth("0003", month, kMarch1, 31), loaded);
            else if (change == "delete")
                DeleteMonth(first, "0003", month, loaded);
            else if (change == "close")
                closeMonth(first, entry, loaded);
            else
                reopenMonth(first, entry, loaded);
            QFAIL("a change from the stale month went through");
        } catch (const MemberGone& gone) {
            QVERIFY(memberDeleted && gone.message().contains("0003"));
        } catch (const StaleChange& stale) {
            QVERIFY(!memberDeleted && stale.message().contains("他の担当者"));
        }
        if (memberDeleted) {
            // Not a row of the member is left, nor a revision of a month never written.
            for (const char* table : {"KYKINTAISYUKEIJL", "KYTIMESHEETJL", "KYSIMEKANRI"})
                QCOMPARE(m_temp->scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE staffCd = "
                                                       "'0003'")
                                            .arg(table)),
                         "0");
            QCOMPARE(monthRevision(first, "0003", "200404"), 0);
            return;
        }
        // The second clerk's month stands whole; reloaded, the first clerk's change goes through.
        QCOMPARE(storedMonth(header("0003"), 31).first.kihon1, 99.0);
        QCOMPARE(isMonthClosed(first, "0003", "200403"), change == "reopen");
        QCOMPARE(monthRevision(first, "0003", "200403"), saved);
        QCOMPARE(DeleteMonth(first, "0003", "200403", saved), saved + 1);
        QCOMPARE(monthRevision(*second, "0003", "200403"), saved + 1);
    }

    void aConnectionChangesThreadsWithItsSession()
    {
        // A temporary table lives only in the session that made it.
        Database& db = m_temp->db();
        db.execute("CREATE TEMP TABLE handed (n INTEGER)");
        db.release();
        QVERIFY_THROWS_EXCEPTION(StoreError, db.execute("INSERT INTO handed VALUES (0)"));
        bool wrote = false;
        const std::unique_ptr<QThread> worker(QThread::create([&db, &wrote] {
            db.takeOver();
            wrote = db.execute("INSERT INTO handed VALUES (1)") == 1;
            db.release();
        }));
        worker->start();
        worker->wait();
        db.takeOver();
        QVERIFY(wrote);
        QCOMPARE(m_temp->scalar("SELECT sum(n) FROM handed"), "1");
    }

    void aRangeIsClosedAsOneUnit()
    {
        Database& db = m_temp->db();
        const auto closing = [](const QString& code) {
            return HistoryEntry{QDateTime::currentDateTime(), "a", code, "200403", "締め", ""};
        };
        // A member not on file in the middle of the range: no month of the range is closed.
        QVERIFY_THROWS_EXCEPTION(
            MemberGone, closeMonths(db, {closing("0003"), closing("0004"), closing("0100")}));
        QVERIFY(!isMonthClosed(db, "0003", "200403"));
        const auto closeRange = [&] {
            closeMonths(db, {closing("0003"), closing("0005"), closing("0100")});
        };
        if (testingOnServer())
            closeRange();
        else
            QCOMPARE(m_temp->commitsDuring(closeRange), 1);
        QVERIFY(isMonthClosed(db, "0003", "200403") && isMonthClosed(db, "0100", "200403"));
    }

    void payrollCountsDaysByTheClassDigits()
    {
        std::vector<DayRow> rows = workedMonth("0005", "200403", kMarch1, 6);
        rows[1].syukinKb = "1";  // holiday work
        rows[2].syukinKb = "2x"; // a rest day, read by its digits
        rows[3].syukinKb = "2";
        rows[4].syukin.clear(); // a working day without its times
        rows[5].syukinKb = "";  // read as 0
        saveMonth(m_temp->db(), header("0005"), rows);
        saveMonth(m_temp->db(), header("0100"), {});
        const std::vector<PayrollRow> payroll =
            loadPayrollRows(m_temp->db(), "0001", "0099", "200403");
        QCOMPARE(payroll.size(), size_t(1));
        QCOMPARE(payroll[0].staffNm, "名前0005");
        QCOMPARE(payroll[0].workDays, 2);
        QCOMPARE(payroll[0].holidayWorkDays, 1);
        QCOMPARE(payroll[0].restDays, 2);
    }

    void reportRows_data()
    {
        QTest::addColumn<QStringList>("range"); // staff from, staff to, month from, month to
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstCode");
        const auto row = [](const char* name, const char* range, int count, const char* firstCode) {
            addTestRow(name, QString::fromLatin1(range).split(u' '), count, firstCode);
        };
        row("everything", "0000 9999 000000 999999", 3 * 59, "0003");
        row("one member, one month", "0005 0005 200403 200403", 31, "0005");
        row("codes compare as text", "0004 0100 200402 200403", 2 * 59, "0005");
        row("no rows", "0000 9999 200404 200412", 0, "");
    }
    void reportRows()
    {
        QFETCH(QStringList, range);
        QFETCH(int, count);
        QFETCH(QString, firstCode);
        Database& db = m_temp->db();
        for (const QString code : {"0003", "0005", "0100"}) {
            saveMonth(db, {code, "", "", "200402", QDate(2004, 2, 1), QDate(2004, 2, 28)},
                      workedMonth(code, "200402", QDate(2004, 2, 1), 28));
            saveMonth(db, header(code), workedMonth(code, "200403", kMarch1, 31));
        }
        QCOMPARE(CountReportRows(db, range[0], range[1], range[2], range[3]), count);
        const std::vector<ReportRow> rows =
            LoadReportRows(db, range[0], range[1], range[2], range[3]);
        QCOMPARE(int(rows.size()), count);
        if (count > 0)
            QCOMPARE(rows.front().staffCd, firstCode);
        for (size_t i = 1; i < rows.size(); ++i) {
            const bool ordered =
                rows[i - 1].staffCd < rows[i].staffCd ||
                (rows[i - 1].staffCd == rows[i].staffCd && rows[i - 1].kintaiDt < rows[i].kintaiDt);
            QVERIFY2(ordered, qPrintable(QString::number(i)));
        }
    }

    void reportRowFields()
    {
        Database& db = m_temp->db();
        MonthHeader h = header("0005");
        h.kihon1 = 150;
        h.kihon2 = 20.5;
        h.kihon3 = 3.25;
        h.kihon4 = 19;
        std::vector<DayRow> rows = workedMonth("0005", "200403", kMarch1, 31);
        rows[2].kihon3 = 0.5;
        saveMonth(db, h, rows);
        // Day rows whose summary is gone, and day rows of a code no longer on the staff master,
        // are listed and counted alike.
        SaveDayRows(db, header("0003"), workedMonth("0003", "200403", kMarch1, 31));
        SaveDayRows(db, header("0777"), workedMonth("0777", "200403", kMarch1, 5));

        QCOMPARE(CountReportRows(db, "0000", "9999", "200403", "200403"), 67);
        const std::vector<ReportRow> report =
            LoadReportRows(db, "0000", "9999", "200403", "200403");
        QCOMPARE(int(report.size()), 67);
        // clang-format off
        const ReportRow expected{"0005", "名前0005", "200403", kMarch1, QDate(2004, 3, 31),
                                 QDate(2004, 3, 3), "0", "0900", "1800", 150, 20.5, 3.25, 19,
                                 8, 0, 0.5, 1};
        // clang-format on
        QCOMPARE(report[31 + 2], expected);
        QVERIFY(!report.front().kikanSt.isValid());
        QCOMPARE(report.back().staffCd, "0777");
        QCOMPARE(report.back().staffNm, "");
    }

private:
    int storedDays(const QString& code, const QString& month = "200403")
    {
        return m_temp
            ->scalar(QStringLiteral("SELECT count(*) FROM KYTIMESHEETJL WHERE staffCd = '%1' "
                                    "AND syoriDt = '%2'")
                         .arg(code, month))
            .toInt();
    }
    // The month of a member as stored: its summary and its day rows.
    std::pair<MonthHeader, std::vector<DayRow>> storedMonth(const MonthHeader& of, int days)
    {
        MonthHeader h = of;
        if (!FindStaffMonth(m_temp->db(), h, of.staffCd))
            return {};
        std::vector<DayRow> rows = preparedMonth(of.staffCd, of.syoriDt, of.kikanSt, days);
        fillStoredDays(m_temp->db(), h, rows);
        return {h, rows};
    }

    std::unique_ptr<TempDatabase> m_temp;
};

NUBIRA_TEST_MAIN_ON_ENGINES(TestTimesheetStore)
#include "tst_timesheetstore.moc"
