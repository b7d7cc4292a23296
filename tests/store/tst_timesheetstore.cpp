#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"
#include "TimesheetStore.h"

#include <QElapsedTimer>
#include <QTest>

class TestTimesheetStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stepping_data();
    void stepping();
    void steppingReadsTheMonthsTotals();
    void loadKeepsPreparedDaysWithoutStoredRow();
    void saveWritesExactlyThePeriod_data();
    void saveWritesExactlyThePeriod();
    void saveIsOneCommit();
    void failedSaveLeavesTheOldMonthWhole_data();
    void failedSaveLeavesTheOldMonthWhole();
    void aFullDiskKeepsTheOldMonth();
    void deleteMonthRemovesOnlyThatMonth();
    void reportRows_data();
    void reportRows();
    void reportRowFields();
    void reportRowsMatchTheCountWithoutSummaryOrStaff();

private:
    MonthHeader header(const QString& code, const QString& month = "200403") const;
    std::unique_ptr<TempDatabase> m_temp;
};

namespace {

const QDate kMarch1(2004, 3, 1);

int storedDays(TempDatabase& temp, const QString& code, const QString& month)
{
    return temp
        .scalar(QStringLiteral("SELECT count(*) FROM KYTIMESHEETJL "
                               "WHERE staffCd = '%1' AND syoriDt = '%2'")
                    .arg(code, month))
        .toInt();
}

} // namespace

MonthHeader TestTimesheetStore::header(const QString& code, const QString& month) const
{
    return {code, "", "", month, kMarch1, kMarch1.addDays(30)};
}

void TestTimesheetStore::init()
{
    m_temp = std::make_unique<TempDatabase>();
    for (const QString code : {"0003", "0005", "0100"})
        SaveStaff(m_temp->db(), {code, "名前" + code, "ﾖﾐ" + code});
}

void TestTimesheetStore::cleanup()
{
    m_temp.reset();
}

void TestTimesheetStore::stepping_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first") << "first"
                           << "0100" << true << "0003";
    QTest::newRow("next compares as text") << "next"
                                           << "0005" << true << "0100";
    QTest::newRow("next from a code not on file") << "next"
                                                  << "0004" << true << "0005";
    QTest::newRow("next past the highest") << "next"
                                           << "0100" << false << "0100";
    QTest::newRow("previous past the lowest") << "prev"
                                              << "0003" << false << "0003";
    QTest::newRow("find a code not on file") << "find 0004"
                                             << "0003" << false << "0003";
}

void TestTimesheetStore::stepping()
{
    QFETCH(QString, operation);
    QFETCH(QString, from);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    Database& db = m_temp->db();
    MonthHeader h = header(from);
    h.staffNm = "前の名前";
    h.kihon1 = 99;
    const MonthHeader before = h;
    bool result = false;
    if (operation == "first")
        result = FirstStaffMonth(db, h);
    else if (operation == "next")
        result = NextStaffMonth(db, h);
    else if (operation == "prev")
        result = PrevStaffMonth(db, h);
    else
        result = FindStaffMonth(db, h, operation.mid(5));

    QCOMPARE(result, found);
    QCOMPARE(h.staffCd, expected);
    if (!found) {
        QCOMPARE(h, before);
        return;
    }
    MonthHeader expectedHeader = before; // the month and period stay; staff and totals are read
    expectedHeader.staffCd = expected;
    expectedHeader.staffNm = "名前" + expected;
    expectedHeader.staffKm = "ﾖﾐ" + expected;
    expectedHeader.kihon1 = 0;
    QCOMPARE(h, expectedHeader);
}

void TestTimesheetStore::steppingReadsTheMonthsTotals()
{
    Database& db = m_temp->db();
    MonthHeader saved = header("0005");
    saved.staffNm = "名前0005";
    saved.staffKm = "ﾖﾐ0005";
    saved.kihon1 = 160.5;
    saved.kihon2 = 12.25;
    saved.kihon3 = 1.0 / 3;
    saved.kihon4 = 20;
    SaveMonth(db, saved, WorkedMonth("0005", "200403", kMarch1, 31));

    // Another month's summary must not leak into this one.
    MonthHeader other = header("0003", "200402");
    other.kihon1 = 7;
    SaveSummary(db, other);

    MonthHeader h = header("0003");
    QVERIFY(NextStaffMonth(db, h));
    QCOMPARE(h, saved);
    QVERIFY(PrevStaffMonth(db, h));
    QCOMPARE(h.kihon1, 0.0);
}

void TestTimesheetStore::loadKeepsPreparedDaysWithoutStoredRow()
{
    Database& db = m_temp->db();
    const MonthHeader h = header("0003");
    // Stored: days 1 to 10 only, with a weekend class and an empty clock-out.
    std::vector<DayRow> stored = WorkedMonth("0003", "200403", kMarch1, 10);
    stored[5].syukinKb = "1";
    stored[6].taisya = "";
    SaveDayRows(db, h, stored);

    std::vector<DayRow> rows = PreparedMonth("0003", "200403", kMarch1, 31);
    for (DayRow& row : rows)
        row.syukinKb = "";
    const std::vector<DayRow> prepared = rows;
    LoadDayRows(db, h, rows);

    for (int i = 0; i < 31; ++i) {
        DayRow expected = i < 10 ? stored[i] : prepared[i];
        expected.week = prepared[i].week;
        QCOMPARE(rows[i], expected);
    }
    QCOMPARE(m_temp->scalar("SELECT typeof(taisya) FROM KYTIMESHEETJL WHERE kintaiDt = "
                            "'2004-03-07'"),
             "text");
}

void TestTimesheetStore::saveWritesExactlyThePeriod_data()
{
    QTest::addColumn<int>("earlierDays");
    QTest::addColumn<int>("days");
    QTest::newRow("28 days after 31") << 31 << 28;
    QTest::newRow("31 days after 28") << 28 << 31;
}

void TestTimesheetStore::saveWritesExactlyThePeriod()
{
    QFETCH(int, earlierDays);
    QFETCH(int, days);
    Database& db = m_temp->db();
    MonthHeader h = header("0003");
    SaveMonth(db, h, WorkedMonth("0003", "200403", kMarch1, earlierDays));
    SaveMonth(db, header("0005"), WorkedMonth("0005", "200403", kMarch1, 31));

    h.kikanEn = kMarch1.addDays(days - 1);
    h.kihon1 = 8.0 * days;
    SaveMonth(db, h, PreparedMonth("0003", "200403", kMarch1, days));

    QCOMPARE(storedDays(*m_temp, "0003", "200403"), days);
    QCOMPARE(storedDays(*m_temp, "0005", "200403"), 31);
    QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYKINTAISYUKEIJL WHERE staffCd = '0003'"), "1");
    QCOMPARE(m_temp->scalar("SELECT kikanEn || ' ' || kihon1 FROM KYKINTAISYUKEIJL "
                            "WHERE staffCd = '0003'"),
             QStringLiteral("%1 %2.0").arg(h.kikanEn.toString(Qt::ISODate)).arg(8 * days));
}

void TestTimesheetStore::saveIsOneCommit()
{
    const MonthHeader h = header("0003");
    const std::vector<DayRow> rows = WorkedMonth("0003", "200403", kMarch1, 31);
    QCOMPARE(m_temp->commitsDuring([&] { SaveMonth(m_temp->db(), h, rows); }), 1);
    QCOMPARE(m_temp->commitsDuring([&] { DeleteMonth(m_temp->db(), "0003", "200403"); }), 1);
    QCOMPARE(m_temp->commitsDuring([&] { DeleteStaff(m_temp->db(), "0003"); }), 1);
}

void TestTimesheetStore::failedSaveLeavesTheOldMonthWhole_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("advice"); // what the message tells the clerk, where it says more
    QTest::newRow("the same day twice") << "duplicate day"
                                        << "";
    QTest::newRow("the engine refuses the summary") << "summary trigger"
                                                    << "";
    QTest::newRow("the engine refuses the 20th day") << "day trigger"
                                                     << "";
    QTest::newRow("another connection is writing")
        << "locked"
        << "データベースが他のプログラムに使用されています。";
}

void TestTimesheetStore::failedSaveLeavesTheOldMonthWhole()
{
    QFETCH(QString, fault);
    QFETCH(QString, advice);
    Database& db = m_temp->db();
    const MonthHeader old = header("0003");
    const std::vector<DayRow> oldRows = WorkedMonth("0003", "200403", kMarch1, 31);
    SaveMonth(db, old, oldRows);

    MonthHeader h = old;
    h.kihon1 = 1;
    std::vector<DayRow> rows = PreparedMonth("0003", "200403", kMarch1, 31);
    if (fault == "invalid date")
        rows[15].kintaiDt = QDate();
    else if (fault == "duplicate day")
        rows[20].kintaiDt = rows[19].kintaiDt;
    else if (fault == "summary trigger")
        db.execute("CREATE TRIGGER refuse BEFORE INSERT ON KYKINTAISYUKEIJL "
                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    else if (fault == "day trigger")
        db.execute("CREATE TRIGGER refuse BEFORE INSERT ON KYTIMESHEETJL "
                   "WHEN NEW.kintaiDt = '2004-03-20' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    auto writer = std::make_unique<Database>(m_temp->path());
    if (fault == "locked") {
        writer->execute("BEGIN IMMEDIATE");
        db.execute("PRAGMA busy_timeout = 300");
    }

    QElapsedTimer waited;
    waited.start();
    try {
        SaveMonth(db, h, rows);
        QFAIL("the save went through");
    } catch (const StoreError& error) {
        QVERIFY2(error.message().startsWith(advice), qPrintable(error.message()));
    }
    if (fault == "locked")
        QVERIFY(waited.elapsed() >= 250); // it waited for the other writer first
    writer.reset();

    MonthHeader reread = header("0003");
    QVERIFY(FindStaffMonth(db, reread, "0003"));
    QCOMPARE(reread.kihon1, old.kihon1);
    std::vector<DayRow> loaded = PreparedMonth("0003", "200403", kMarch1, 31);
    LoadDayRows(db, reread, loaded);
    QVERIFY(loaded == oldRows);
    QCOMPARE(storedDays(*m_temp, "0003", "200403"), 31);

    // The database is usable again at once: the next save goes through.
    db.execute("DROP TRIGGER IF EXISTS refuse");
    SaveMonth(db, h, PreparedMonth("0003", "200403", kMarch1, 31));
    QVERIFY(FindStaffMonth(db, reread, "0003"));
    QCOMPARE(reread.kihon1, 1.0);
}

void TestTimesheetStore::aFullDiskKeepsTheOldMonth()
{
    // The file may grow no further: each month is saved empty, then rewritten with its times,
    // until a save finds no room.
    Database& db = m_temp->db();
    db.execute("PRAGMA max_page_count = " + m_temp->scalar("PRAGMA page_count"));
    for (int m = 0; m < 200; ++m) {
        const QDate first = kMarch1.addMonths(m + 1);
        const QString month = first.toString("yyyyMM");
        MonthHeader h{"0003", "", "", month, first, first.addDays(27)};
        const std::vector<DayRow> empty = PreparedMonth("0003", month, first, 28);
        const std::vector<DayRow> worked = WorkedMonth("0003", month, first, 28);
        bool firstSaveDone = false;
        try {
            SaveMonth(db, h, empty);
            firstSaveDone = true;
            h.kihon1 = 8 * 28;
            SaveMonth(db, h, worked);
        } catch (const StoreError& error) {
            QVERIFY2(error.message().startsWith("ディスクの空き容量が足りないため書き込めません。"),
                     qPrintable(error.message()));
            MonthHeader reread = header("0003", month);
            QVERIFY(FindStaffMonth(db, reread, "0003"));
            QCOMPARE(reread.kihon1, 0.0);
            QCOMPARE(storedDays(*m_temp, "0003", month), firstSaveDone ? 28 : 0);
            std::vector<DayRow> loaded = PreparedMonth("0003", month, first, 28);
            LoadDayRows(db, reread, loaded);
            QVERIFY(loaded == empty);
            return;
        }
    }
    QFAIL("the file never filled");
}

void TestTimesheetStore::deleteMonthRemovesOnlyThatMonth()
{
    Database& db = m_temp->db();
    for (const QString code : {"0003", "0005"}) {
        for (const QString month : {"200402", "200403"})
            SaveMonth(db, header(code, month), WorkedMonth(code, month, kMarch1, 31));
    }
    DeleteMonth(db, "0003", "200403");
    QCOMPARE(storedDays(*m_temp, "0003", "200403"), 0);
    QCOMPARE(storedDays(*m_temp, "0003", "200402"), 31);
    QCOMPARE(storedDays(*m_temp, "0005", "200403"), 31);
    QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYKINTAISYUKEIJL"), "3");
}

void TestTimesheetStore::reportRows_data()
{
    QTest::addColumn<QString>("staffFrom");
    QTest::addColumn<QString>("staffTo");
    QTest::addColumn<QString>("monthFrom");
    QTest::addColumn<QString>("monthTo");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstCode");

    QTest::newRow("everything") << "0000"
                                << "9999"
                                << "000000"
                                << "999999" << 3 * 59 << "0003";
    QTest::newRow("one member, one month") << "0005"
                                           << "0005"
                                           << "200403"
                                           << "200403" << 31 << "0005";
    QTest::newRow("codes compare as text") << "0004"
                                           << "0100"
                                           << "200402"
                                           << "200403" << 2 * 59 << "0005";
    QTest::newRow("no rows") << "0000"
                             << "9999"
                             << "200404"
                             << "200412" << 0 << "";
}

void TestTimesheetStore::reportRows()
{
    QFETCH(QString, staffFrom);
    QFETCH(QString, staffTo);
    QFETCH(QString, monthFrom);
    QFETCH(QString, monthTo);
    QFETCH(int, count);
    QFETCH(QString, firstCode);

    Database& db = m_temp->db();
    for (const QString code : {"0003", "0005", "0100"}) {
        SaveMonth(db, {code, "", "", "200402", QDate(2004, 2, 1), QDate(2004, 2, 28)},
                  WorkedMonth(code, "200402", QDate(2004, 2, 1), 28));
        SaveMonth(db, header(code), WorkedMonth(code, "200403", kMarch1, 31));
    }
    QCOMPARE(CountReportRows(db, staffFrom, staffTo, monthFrom, monthTo), count);
    const std::vector<ReportRow> rows = LoadReportRows(db, staffFrom, staffTo, monthFrom, monthTo);
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

void TestTimesheetStore::reportRowFields()
{
    Database& db = m_temp->db();
    MonthHeader h = header("0005");
    h.kihon1 = 150;
    h.kihon2 = 20.5;
    h.kihon3 = 3.25;
    h.kihon4 = 19;
    std::vector<DayRow> rows = WorkedMonth("0005", "200403", kMarch1, 31);
    rows[2].kihon3 = 0.5;
    SaveMonth(db, h, rows);

    const std::vector<ReportRow> report = LoadReportRows(db, "0005", "0005", "200403", "200403");
    QCOMPARE(int(report.size()), 31);
    const ReportRow expected{"0005",
                             "名前0005",
                             "200403",
                             kMarch1,
                             QDate(2004, 3, 31),
                             QDate(2004, 3, 3),
                             "0",
                             "0900",
                             "1800",
                             150,
                             20.5,
                             3.25,
                             19,
                             8,
                             0,
                             0.5,
                             1};
    QCOMPARE(report[2], expected);
}

void TestTimesheetStore::reportRowsMatchTheCountWithoutSummaryOrStaff()
{
    Database& db = m_temp->db();
    // Day rows whose summary is gone, and day rows of a code no longer on the staff master.
    SaveDayRows(db, header("0003"), WorkedMonth("0003", "200403", kMarch1, 31));
    SaveDayRows(db, header("0777"), WorkedMonth("0777", "200403", kMarch1, 5));

    QCOMPARE(CountReportRows(db, "0000", "9999", "200403", "200403"), 36);
    const std::vector<ReportRow> report = LoadReportRows(db, "0000", "9999", "200403", "200403");
    QCOMPARE(int(report.size()), 36);
    QVERIFY(!report.front().kikanSt.isValid());
    QCOMPARE(report.back().staffCd, "0777");
    QCOMPARE(report.back().staffNm, "");
}

QTEST_GUILESS_MAIN(TestTimesheetStore)
#include "tst_timesheetstore.moc"
