#include "PaidLeave.h"

#include "TestRows.h"

#include <QTest>

#include <map>

Q_DECLARE_METATYPE(MemberConditions)
Q_DECLARE_METATYPE(std::vector<ClassDay>)
Q_DECLARE_METATYPE(std::vector<LeaveGrantRecord>)

namespace {

// The stored days of an office from one day to another: weekdays normal, weekends rest, with the
// classes of some days given ("2020-11-02" → "3").
std::vector<ClassDay> officeDays(const QDate& from, const QDate& to,
                                 const std::map<QString, QString>& given = {})
{
    std::vector<ClassDay> days;
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        const auto found = given.find(day.toString(Qt::ISODate));
        const QString weekdayClass = day.dayOfWeek() >= 6 ? "2" : "0";
        days.push_back({day, found != given.end() ? found->second : weekdayClass});
    }
    return days;
}

// n weekdays of a class from a day on: {"2020-11-02" → "3", …}.
std::map<QString, QString> weekdaysOf(const QDate& from, int n, const QString& dayClass)
{
    std::map<QString, QString> days;
    for (QDate day = from; int(days.size()) < n; day = day.addDays(1)) {
        if (day.dayOfWeek() < 6)
            days[day.toString(Qt::ISODate)] = dayClass;
    }
    return days;
}

// A ledger's years as one line each: "2020-10-01 法 10 繰0 取3 失0 残7", with 記録なし, 確認.
QStringList describe(const LeaveLedger& ledger)
{
    QStringList lines;
    for (const LeaveYear& y : ledger.years) {
        const char* basis = y.basis == LeaveYear::Basis::Law       ? "法"
                            : y.basis == LeaveYear::Basis::Opening ? "繰越"
                                                                   : "なし";
        QString line = QStringLiteral("%1 %2 %3 繰%4 取%5 失%6 残%7")
                           .arg(y.kijunDt.toString(Qt::ISODate), QString::fromUtf8(basis))
                           .arg(y.granted)
                           .arg(y.carriedOver)
                           .arg(y.takenDays)
                           .arg(y.lapsed)
                           .arg(y.balance);
        if (y.unrecorded)
            line += y.confirmed ? QStringLiteral(" 記録なし確認") : QStringLiteral(" 記録なし");
        lines << line;
    }
    return lines;
}

MemberConditions hiredOn(const QDate& hire, int weeklyDays = 5, double weeklyHours = 40)
{
    MemberConditions conditions;
    conditions.staffCd = "0001";
    conditions.nyusyaDt = hire;
    conditions.syuNissu = weeklyDays;
    conditions.syuJikan = weeklyHours;
    return conditions;
}

} // namespace

class TestPaidLeave : public QObject {
    Q_OBJECT

private slots:
    // Every cell of the law's two tables, and what is no grant date.
    void annualLeaveDays_data()
    {
        QTest::addColumn<int>("weeklyDays");
        QTest::addColumn<double>("weeklyHours");
        QTest::addColumn<QList<int>>("days"); // at 6 months, 1y6m, … 6y6m, then 7y6m

        addTestRow("full time, 5 days", 5, 40.0, QList<int>{10, 11, 12, 14, 16, 18, 20, 20});
        addTestRow("full time, 6 days", 6, 48.0, QList<int>{10, 11, 12, 14, 16, 18, 20, 20});
        addTestRow("4 days of 30 hours is full time", 4, 30.0,
                   QList<int>{10, 11, 12, 14, 16, 18, 20, 20});
        addTestRow("5 days of 20 hours is full time", 5, 20.0,
                   QList<int>{10, 11, 12, 14, 16, 18, 20, 20});
        addTestRow("4 days", 4, 29.5, QList<int>{7, 8, 9, 10, 12, 13, 15, 15});
        addTestRow("3 days", 3, 18.0, QList<int>{5, 6, 6, 8, 9, 10, 11, 11});
        addTestRow("2 days", 2, 12.0, QList<int>{3, 4, 4, 5, 6, 6, 7, 7});
        addTestRow("1 day", 1, 6.0, QList<int>{1, 2, 2, 2, 3, 3, 3, 3});
        addTestRow("0 days", 0, 40.0, QList<int>{0, 0, 0, 0, 0, 0, 0, 0});
    }
    void annualLeaveDays()
    {
        QFETCH(int, weeklyDays);
        QFETCH(double, weeklyHours);
        QFETCH(QList<int>, days);
        for (int step = 0; step < days.size(); ++step)
            QCOMPARE(AnnualLeaveDays(6 + 12 * step, weeklyDays, weeklyHours), days.at(step));
        for (const int notAGrantDate : {0, 5, 7, 12, 17, 19, 24})
            QCOMPARE(AnnualLeaveDays(notAGrantDate, weeklyDays, weeklyHours), 0);
    }

    void ledger_data()
    {
        QTest::addColumn<MemberConditions>("conditions");
        QTest::addColumn<std::vector<ClassDay>>("days");
        QTest::addColumn<std::vector<LeaveGrantRecord>>("grants");
        QTest::addColumn<QDate>("asOf");
        QTest::addColumn<QStringList>("years");
        QTest::addColumn<double>("balance");

        // Hired 2024-04-01; the first period, 2024-04-01 to 09-30, is 130 weekdays.
        const QDate hire(2024, 4, 1);
        const QDate firstGrant(2024, 10, 1);
        const QDate lastOfFirst(2024, 9, 30);
        addTestRow("just under 80 %: 27 of 130 days absent", hiredOn(hire),
                   officeDays(hire, lastOfFirst, weekdaysOf(hire, 27, "6")),
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 なし 0 繰0 取0 失0 残0"}, 0.0);
        addTestRow("exactly 80 %: 26 of 130 days absent", hiredOn(hire),
                   officeDays(hire, lastOfFirst, weekdaysOf(hire, 26, "6")),
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 法 10 繰0 取0 失0 残10"}, 10.0);
        addTestRow("leave and special leave are attended; rest and exchanged days are not counted",
                   hiredOn(hire),
                   officeDays(hire, lastOfFirst,
                              [&] {
                                  auto days = weekdaysOf(hire, 26, "6");
                                  days.merge(weekdaysOf(QDate(2024, 6, 3), 40, "7"));
                                  days.merge(weekdaysOf(QDate(2024, 8, 1), 40, "8"));
                                  return days;
                              }()),
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 なし 0 繰0 取0 失0 残0"}, 0.0);
        addTestRow("no records: granted, marked", hiredOn(hire), std::vector<ClassDay>{},
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 法 10 繰0 取0 失0 残10 記録なし"}, 10.0);
        addTestRow("no records, the clerk says no", hiredOn(hire), std::vector<ClassDay>{},
                   std::vector<LeaveGrantRecord>{{firstGrant, LeaveGrantRecord::Kind::Refused}},
                   firstGrant, QStringList{"2024-10-01 なし 0 繰0 取0 失0 残0 記録なし確認"}, 0.0);
        addTestRow("a day missing from the period makes it unrecorded", hiredOn(hire),
                   officeDays(hire.addDays(1), lastOfFirst, weekdaysOf(hire, 60, "6")),
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 法 10 繰0 取0 失0 残10 記録なし"}, 10.0);
        addTestRow("part time, 3 days a week", hiredOn(hire, 3, 18), std::vector<ClassDay>{},
                   std::vector<LeaveGrantRecord>{}, firstGrant,
                   QStringList{"2024-10-01 法 5 繰0 取0 失0 残5 記録なし"}, 5.0);

        // Hired 2020-04-01 and on file throughout.
        const QDate hire2020(2020, 4, 1);
        addTestRow("an unused grant lapses two years after its date", hiredOn(hire2020),
                   officeDays(hire2020, QDate(2022, 10, 1)), std::vector<LeaveGrantRecord>{},
                   QDate(2022, 10, 1),
                   QStringList{"2020-10-01 法 10 繰0 取0 失0 残10",
                               "2021-10-01 法 11 繰10 取0 失0 残21",
                               "2022-10-01 法 12 繰11 取0 失10 残23"},
                   23.0);
        auto oldestFirst = weekdaysOf(QDate(2020, 11, 2), 3, "3");
        oldestFirst.merge(weekdaysOf(QDate(2021, 11, 1), 9, "3"));
        addTestRow("use is taken from the oldest grant: nothing of the first lapses",
                   hiredOn(hire2020), officeDays(hire2020, QDate(2022, 10, 1), oldestFirst),
                   std::vector<LeaveGrantRecord>{}, QDate(2022, 10, 1),
                   QStringList{"2020-10-01 法 10 繰0 取3 失0 残7",
                               "2021-10-01 法 11 繰7 取9 失0 残9",
                               "2022-10-01 法 12 繰9 取0 失0 残21"},
                   21.0);
        auto halves = weekdaysOf(QDate(2020, 11, 2), 3, "4");
        halves.merge(weekdaysOf(QDate(2020, 12, 1), 2, "5"));
        addTestRow("half days are a half each", hiredOn(hire2020),
                   officeDays(hire2020, QDate(2021, 3, 31), halves),
                   std::vector<LeaveGrantRecord>{}, QDate(2021, 3, 31),
                   QStringList{"2020-10-01 法 10 繰0 取2.5 失0 残7.5"}, 7.5);
        addTestRow("leave before the first grant is owed, and paid from it", hiredOn(hire2020),
                   officeDays(hire2020, QDate(2020, 10, 1), weekdaysOf(QDate(2020, 9, 1), 2, "3")),
                   std::vector<LeaveGrantRecord>{}, QDate(2020, 10, 1),
                   QStringList{"2020-10-01 法 10 繰-2 取0 失0 残8"}, 8.0);
        MemberConditions left = hiredOn(hire2020);
        left.taisyokuDt = QDate(2021, 9, 30);
        addTestRow("a member who left gets no grant after leaving", left,
                   officeDays(hire2020, QDate(2021, 9, 30)), std::vector<LeaveGrantRecord>{},
                   QDate(2022, 3, 31), QStringList{"2020-10-01 法 10 繰0 取0 失0 残10"}, 10.0);

        // Hired 2015-04-01; the office's months are on file from 2026-04-01.
        const QDate onFile(2026, 4, 1);
        const std::vector<LeaveGrantRecord> openings{
            {QDate(2024, 10, 1), LeaveGrantRecord::Kind::Opening, 18, 3},
            {QDate(2025, 10, 1), LeaveGrantRecord::Kind::Opening, 20, 20}};
        addTestRow("opening balances stand for the grants before them", hiredOn(QDate(2015, 4, 1)),
                   officeDays(onFile, QDate(2026, 10, 1), weekdaysOf(onFile, 5, "3")), openings,
                   QDate(2026, 10, 1),
                   QStringList{"2024-10-01 繰越 18 繰0 取0 失0 残3",
                               "2025-10-01 繰越 20 繰3 取5 失0 残18",
                               "2026-10-01 法 20 繰18 取0 失0 残38 記録なし"},
                   38.0);
    }
    void ledger()
    {
        QFETCH(MemberConditions, conditions);
        QFETCH(std::vector<ClassDay>, days);
        QFETCH(std::vector<LeaveGrantRecord>, grants);
        QFETCH(QDate, asOf);
        QFETCH(QStringList, years);
        QFETCH(double, balance);

        const LeaveLedger ledger = buildLeaveLedger(conditions, days, grants, asOf);
        QCOMPARE(describe(ledger), years);
        QCOMPARE(ledger.balance, balance);
    }

    // A grant of 10 on 2024-10-01, due 2025-09-30, with 2 days taken; warned 3 months ahead.
    void fiveDayDuty_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("mark");
        QTest::addColumn<double>("needed");

        addTestRow("far from due", QDate(2025, 6, 29), int(FiveDayDuty::Mark::Open), 3.0);
        addTestRow("due in exactly 3 months", QDate(2025, 6, 30), int(FiveDayDuty::Mark::DueSoon),
                   3.0);
        addTestRow("due today", QDate(2025, 9, 30), int(FiveDayDuty::Mark::DueSoon), 3.0);
        addTestRow("past due", QDate(2025, 10, 1), int(FiveDayDuty::Mark::Overdue), 3.0);
    }
    void fiveDayDuty()
    {
        QFETCH(QDate, today);
        QFETCH(int, mark);
        QFETCH(double, needed);

        const QDate hire(2024, 4, 1);
        const auto days = officeDays(hire, today, weekdaysOf(QDate(2024, 11, 1), 2, "3"));
        const LeaveLedger ledger = buildLeaveLedger(hiredOn(hire), days, {}, today);
        const std::vector<FiveDayDuty> duties = fiveDayDuties(ledger, today, 3);
        QVERIFY(!duties.empty()); // past due, the next grant's duty follows
        QCOMPARE(duties[0].dueDate, QDate(2025, 9, 30));
        QCOMPARE(int(duties[0].mark), mark);
        QCOMPARE(duties[0].needed, needed);
    }

    // Five days taken (two halves among them) meet the duty; days taken after the due date, or
    // a grant under 10 days, do not count.
    void fiveDayDutyCounts()
    {
        const QDate hire(2024, 4, 1);
        auto taken = weekdaysOf(QDate(2024, 11, 1), 4, "3");
        taken.merge(weekdaysOf(QDate(2025, 2, 3), 2, "4"));
        const QDate today(2025, 9, 30);
        const LeaveLedger ledger =
            buildLeaveLedger(hiredOn(hire), officeDays(hire, today, taken), {}, today);
        const std::vector<FiveDayDuty> duties = fiveDayDuties(ledger, today, 3);
        QCOMPARE(duties.size(), size_t(1));
        QCOMPARE(duties[0].taken, 5.0);
        QCOMPARE(int(duties[0].mark), int(FiveDayDuty::Mark::Done));

        const LeaveLedger partTime =
            buildLeaveLedger(hiredOn(hire, 4, 29), officeDays(hire, today), {}, today);
        QVERIFY(fiveDayDuties(partTime, today, 3).empty()); // 7 days: no duty
    }
};

QTEST_APPLESS_MAIN(TestPaidLeave)
#include "tst_paidleave.moc"
