#include "CalendarStore.h"
#include "LegalStore.h"
#include "TimesheetMonth.h"
#include "TimesheetStore.h"

#include "TempDatabase.h"
#include "TestRows.h"

#include <QTest>

namespace {

using Clock = TimesheetMonth::Clock;
using Hours = TimesheetMonth::Hours;

const QString kMarch = QStringLiteral("200403");
const QDate kMarchFirst(2004, 3, 1);
const QDate kMarchLast(2004, 3, 31);

// The month totals: basic, overtime, late-night, break.
std::array<double, 4> totalsOf(const TimesheetMonth& month)
{
    const MonthHeader& h = month.header();
    return {h.kihon1, h.kihon2, h.kihon3, h.kihon4};
}

// Fills every day that is not a rest day with 09:00 to 18:00, as the clerk types it.
void workEveryDay(TimesheetMonth& month)
{
    for (int n = 1; n <= month.days(); ++n) {
        if (isRestDay(month.row(n).syukinKb))
            continue;
        month.commitClock(n, Clock::In, "0900");
        month.commitClock(n, Clock::Out, "1800");
    }
}

// The rows of the member's stored month that the attendance sheet would print.
int printableRows(Database& db, const TimesheetMonth& month)
{
    const MonthHeader& h = month.header();
    return CountReportRows(db, h.staffCd, h.staffCd, h.syoriDt, h.syoriDt);
}

} // namespace

// The month on the timesheet screen without its widgets: loading, committing fields, totals,
// the save check, saving and deleting.
class TestTimesheetMonth : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        seedSampleStaff(m_temp->db());
    }

    void cleanup() { m_temp.reset(); }
    void storedClassesComeBack()
    {
        // Only the first 20 days are on file; the rest are prepared as for a new month.
        std::vector<DayRow> rows = workedMonth("0005", kMarch, kMarchFirst, 20);
        rows[5].syukinKb = "1";  // Saturday 6th worked as a holiday
        rows[1].syukinKb = "2x"; // Tuesday 2nd a rest day, its times left over in the file
        saveMonth(m_temp->db(), {"0005", {}, {}, kMarch, kMarchFirst, kMarchLast, 1.5, 0, 0, 4.5},
                  rows);
        const TimesheetMonth month = loadedMarch();
        QCOMPARE(month.row(6), rows[5]);
        QCOMPARE(month.row(7), rows[6]); // a Sunday stored as working
        QCOMPARE(month.row(2),
                 (DayRow{"0005", kMarch, QDate(2004, 3, 2), "3", "2x", {}, {}, 0, 0, 0, 0}));
        QCOMPARE(month.row(27),
                 (DayRow{"0005", kMarch, QDate(2004, 3, 27), "7", "2", {}, {}, 0, 0, 0, 0}));
        QCOMPARE(month.row(31).syukinKb, QStringLiteral("0"));
        QCOMPARE(month.kihon40(), 184.0);  // by weekday, whatever the class
        QCOMPARE(totalsOf(month)[0], 1.5); // as stored, not recomputed
    }

    void movingToAnotherMember_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("how"); // next, previous, or a typed code
        QTest::addColumn<QString>("reached");
        addTestRow("next", "0001", "next", "0005");
        addTestRow("past the highest", "0009", "next", "0009");
        addTestRow("before the lowest", "0001", "previous", "0001");
        addTestRow("a short code, filled", "0001", "5", "0005");
        addTestRow("a code not on file", "0001", "7", "0001");
    }
    void movingToAnotherMember()
    {
        QFETCH(QString, start);
        QFETCH(QString, how);
        QFETCH(QString, reached);
        saveMonth(m_temp->db(), {start, {}, {}, kMarch, kMarchFirst, kMarchLast, 8, 0, 0, 1},
                  workedMonth(start, kMarch, kMarchFirst, 31));
        TimesheetMonth month = loadedMarch(start);
        month.commitClock(1, Clock::Out, "2000"); // an edit that moving discards
        if (how == "next")
            QCOMPARE(month.loadNext(m_temp->db()), reached != start);
        else if (how == "previous")
            QCOMPARE(month.loadPrevious(m_temp->db()), reached != start);
        else
            month.loadCode(m_temp->db(), how);
        QCOMPARE(month.header().staffCd, reached);
        QCOMPARE(month.row(1).staffCd, reached);
        if (reached == start) // the member's month again, as stored
            QCOMPARE(month.row(1).taisya + QString::number(month.header().kihon1), "18008");
    }

    void clockTimesComputeTheDay()
    {
        TimesheetMonth month = loadedMarch();
        QVERIFY(!month.commitClock(1, Clock::In, "0900")); // one time alone computes nothing
        QVERIFY(month.commitClock(1, Clock::Out, "1800"));
        const DayRow& row = month.row(1);
        QCOMPARE((std::array{row.kihon1, row.kihon2, row.kihon3, row.kihon4}),
                 (std::array{8.0, 0.0, 0.0, 1.0}));
        QCOMPARE(totalsOf(month), (std::array{8.0, 0.0, 0.0, 1.0}));
        QVERIFY(!month.commitClock(1, Clock::Out, "1800")); // the same time again does nothing

        // Hours typed by hand count until a new clock time computes the day again.
        QVERIFY(month.commitHours(1, Hours::Basic, 6.5));
        QCOMPARE(totalsOf(month)[0], 6.5);
        month.commitClock(1, Clock::Out, "1900");
        QCOMPARE(totalsOf(month), (std::array{8.0, 1.0, 0.0, 1.0}));
    }

    void emptiedClockOutKeepsHoursAndBlocksSave()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month);
        QCOMPARE(month.saveRefusal(), QString());
        const auto before = totalsOf(month);
        QVERIFY(!month.commitClock(3, Clock::Out, QString()));
        QCOMPARE(month.row(3).kihon1, 8.0);
        QCOMPARE(totalsOf(month), before);
        QCOMPARE(
            month.saveRefusal(),
            QStringLiteral("入力されていない明細があります。確認してください。\n3月3日（水）"));
        // Setting the day to a rest day lets the month be saved.
        month.selectClass(3, DayClass::Rest);
        month.commitClass(3, DayClass::Rest);
        QCOMPARE(month.saveRefusal(), QString());
    }

    void restDayEmptiesTheRow()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month);
        const auto before = totalsOf(month);
        QVERIFY(month.selectClass(2, DayClass::Rest));
        // clang-format off
        QCOMPARE(month.row(2), (DayRow{"0005", kMarch, QDate(2004, 3, 2), "3", "0", {}, {},
                                       0, 0, 0, 0})); // the class is stored only on leaving the list
        // clang-format on
        QCOMPARE(totalsOf(month)[0], before[0] - 8);
        QVERIFY(month.commitClass(2, DayClass::Rest));
        QCOMPARE(month.row(2).syukinKb, QStringLiteral("2"));
        QCOMPARE(totalsOf(month)[3], before[3] - 1);
    }

    void allowanceCapMovesHours()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month); // 23 weekdays of 8 basic hours: exactly the allowance of 184
        QCOMPARE(totalsOf(month)[1], 0.0);
        month.commitHours(1, Hours::Basic, 10.25);
        QCOMPARE(totalsOf(month)[0], 184.0);
        QCOMPARE(totalsOf(month)[1], 2.25);
        // Basic hours on a rest day worked as holiday work do not count against the allowance.
        month.commitClass(6, DayClass::HolidayWork);
        month.commitClock(6, Clock::In, "0900");
        month.commitClock(6, Clock::Out, "1800");
        QCOMPARE(totalsOf(month)[0], 184.0);
        QCOMPARE(totalsOf(month)[1], 10.25);
    }

    void saveStoresTheMonthAsShown()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month);
        month.commitHours(1, Hours::LateNight, 0.75);
        month.save(m_temp->db());
        const TimesheetMonth again = loadedMarch();
        QCOMPARE(again.header(), month.header());
        QVERIFY(std::ranges::equal(again.rows(), month.rows()));
        QCOMPARE(printableRows(m_temp->db(), month), 31);
    }

    void deleteLeavesTheMemberWithAnEmptyMonth()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month);
        month.save(m_temp->db());
        saveMonth(m_temp->db(), {"0005", {}, {}, "200404", QDate(2004, 4, 1), QDate(2004, 4, 30)},
                  workedMonth("0005", "200404", QDate(2004, 4, 1), 30));
        month.deleteWithHistory(m_temp->db());
        QCOMPARE(month.header().staffNm, QStringLiteral("伊藤"));
        QCOMPARE(totalsOf(month)[0], 0.0);
        QCOMPARE(month.row(1).syukin, QString());
        QCOMPARE(printableRows(m_temp->db(), month), 0);
        QCOMPARE(m_temp->scalar("SELECT COUNT(*) FROM KYTIMESHEETJL WHERE syoriDt = '200404'"),
                 QStringLiteral("30"));
    }

    // May 2026: Friday 1st the office's own day off, Sunday 3rd to Wednesday 6th public holidays.
    void officeCalendarPreparesRestDays_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("allowance");
        QTest::addColumn<QString>("classes"); // of the 1st to the 6th
        addTestRow("off: by the weekday alone", false, 168.0, "022000");
        addTestRow("on: holidays and days off are rest days", true, 136.0, "222222");
    }
    void officeCalendarPreparesRestDays()
    {
        QFETCH(bool, on);
        QFETCH(double, allowance);
        QFETCH(QString, classes);
        saveCompanyDayOff(m_temp->db(), {QDate(2026, 5, 1), QStringLiteral("創立記念日")});
        setHolidaysAreRestDays(m_temp->db(), on);
        TimesheetMonth month("202605", QDate(2026, 5, 1), QDate(2026, 5, 31));
        month.loadFirst(m_temp->db());
        const auto firstClasses = [&month] {
            QString shown;
            for (int n = 1; n <= 6; ++n)
                shown += month.row(n).syukinKb;
            return shown;
        };
        QCOMPARE(month.kihon40(), allowance);
        QCOMPARE(firstClasses(), classes);
        // A stored month keeps its classes, allowance and totals whatever the setting becomes,
        // until the clerk asks for today's allowance and saves it.
        workEveryDay(month);
        month.save(m_temp->db());
        const auto totals = totalsOf(month);
        setHolidaysAreRestDays(m_temp->db(), !on);
        month.reload(m_temp->db());
        QCOMPARE(firstClasses(), classes);
        const double today = on ? 168.0 : 136.0;
        QCOMPARE(std::pair(month.kihon40(), month.calendarKihon40()), std::pair(allowance, today));
        month.commitHours(8, Hours::LateNight, 1);
        month.commitHours(8, Hours::LateNight, 0);
        QCOMPARE(totalsOf(month), totals);
        QVERIFY(month.recalculateAllowance() && month.isModified());
        month.save(m_temp->db());
        month.reload(m_temp->db());
        QCOMPARE(month.kihon40(), today);
        QVERIFY(loadHistory(m_temp->db(), "0001", "202605")
                    .front()
                    .naiyou.startsWith(
                        QStringLiteral("週40時間勤務上限 %1 → %2").arg(allowance).arg(today)));
    }

    void historyAndClosing()
    {
        TimesheetMonth month = loadedMarch();
        workEveryDay(month);
        QCOMPARE(m_temp->commitsDuring([&] { month.save(m_temp->db()); }), 1);
        month.commitClock(1, Clock::Out, "1900");
        month.commitClock(2, Clock::Out, "1900"); // changed and changed back: not listed
        month.commitClock(2, Clock::Out, "1800");
        month.save(m_temp->db());
        month.close(m_temp->db());
        const TimesheetMonth closed = loadedMarch();
        QVERIFY(closed.isClosed());
        QVERIFY(closed.saveRefusal().contains("締め済み"));
        month.reopen(m_temp->db());
        month.deleteWithHistory(m_temp->db());

        const std::vector<HistoryEntry> history = loadHistory(m_temp->db(), "0005", kMarch);
        QStringList done;
        for (const HistoryEntry& e : history)
            done << e.sousa;
        QCOMPARE(done, (QStringList{"削除", "締め解除", "締め", "保存", "保存"}));
        QCOMPARE(history[3].naiyou,
                 QStringLiteral("03/01 通常出勤 09:00-18:00 8.00/0.00/0.00/1.00 → 通常出勤 "
                                "09:00-19:00 8.00/1.00/0.00/1.00\n"
                                "合計 184.00/0.00/0.00/23.00 → 184.00/1.00/0.00/23.00"));
        QCOMPARE(history[2].naiyou, QStringLiteral("合計 184.00/1.00/0.00/23.00"));
        // A month's first save lists every day, none of them on file before.
        QCOMPARE(history[4].naiyou.count(u'\n'), 31);
        QVERIFY(history[4].naiyou.contains("\n03/06 なし → 公休日 -\n"));
        QCOMPARE(history[0].userNm, operatingSystemUser());
        QVERIFY(!loadedMarch().isClosed());
    }

    // The law's hours stand beside the sheet's: off until turned on, then stored with each saved
    // month, made from the stored days for months saved before, and never changing the sheet's.
    void lawsHoursBesideTheSheets()
    {
        Database& db = m_temp->db();
        TimesheetMonth off = loadedMarch("0001");
        QVERIFY(!off.legal().isEnabled());
        workEveryDay(off);
        off.commitClock(1, Clock::Out, "2300");
        off.save(db);
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYHOUTEIJL"), "0");

        // February, every day 9 to 18, saved before the law's hours were kept: 4 Saturdays past
        // 40 hours, 5 Sundays on the legal day off.
        saveMonth(db, {"0001", {}, {}, "200402", QDate(2004, 2, 1), QDate(2004, 2, 29)},
                  workedMonth("0001", "200402", QDate(2004, 2, 1), 29));
        LegalSettings settings;
        settings.enabled = true;
        settings.agreement.monthlyLimit = 4 * 60;
        saveLegalSettings(db, settings);
        const std::vector<AgreementMonth> february =
            agreementMonths(db, "0001", "200402", "200402", settings);
        QCOMPARE(february.size(), size_t(1));
        QCOMPARE(february[0].overtime, 4 * 480);
        QCOMPARE(february[0].legalHoliday, 5 * 480);

        TimesheetMonth on = loadedMarch("0001");
        QVERIFY(on.legal().isEnabled());
        QCOMPARE(on.legalFigures().overtime, 5 * 60); // Monday 1 March, 9 to 23
        const AgreementCheck check = on.legal().check(on.legalFigures());
        QCOMPARE(check.state, AgreementState::Over);
        QCOMPARE(check.rule, QStringLiteral("月4時間"));
        QCOMPARE(totalsOf(on), totalsOf(off));
        on.commitClock(2, Clock::Out, "2000");
        on.save(db);
        QCOMPARE(m_temp->scalar("SELECT hougai || '/' || keisanKey FROM KYHOUTEIJL"), "420/7/7/0");
        QCOMPARE(totalsOf(loadedMarch("0001")), totalsOf(on));

        // Saved again with the law's hours off, the month keeps no figures of its old rows.
        settings.enabled = false;
        saveLegalSettings(db, settings);
        TimesheetMonth offAgain = loadedMarch("0001");
        offAgain.commitClock(3, Clock::Out, "2100");
        offAgain.save(db);
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYHOUTEIJL"), "0");
    }

    void withoutStaff()
    {
        TempDatabase empty;
        TimesheetMonth month(kMarch, kMarchFirst, kMarchLast);
        month.loadFirst(empty.db());
        QCOMPARE(month.header().staffCd, QString());
        QVERIFY(!month.loadNext(empty.db()));
        QCOMPARE(month.saveRefusal(),
                 QStringLiteral("スタッフが指定されていません。指定してください。"));
    }

private:
    TimesheetMonth loadedMarch(const QString& code = QStringLiteral("0005"))
    {
        TimesheetMonth month(kMarch, kMarchFirst, kMarchLast);
        month.loadFirst(m_temp->db());
        if (code != month.header().staffCd)
            month.loadCode(m_temp->db(), code);
        return month;
    }

    std::unique_ptr<TempDatabase> m_temp;
};

QTEST_GUILESS_MAIN(TestTimesheetMonth)
#include "tst_timesheetmonth.moc"
