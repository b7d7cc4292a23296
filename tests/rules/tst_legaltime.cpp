#include "LegalTime.h"

#include "TestRows.h"

#include <QTest>

Q_DECLARE_METATYPE(LegalRules)
Q_DECLARE_METATYPE(LegalMonth)
Q_DECLARE_METATYPE(AgreementRules)

namespace {

// "11-02 0900-1800": a day of November 2026 (the 1st is a Sunday) with its clock times; a side
// left out is a missing time.
std::vector<LegalDay> days(const QStringList& specs)
{
    std::vector<LegalDay> list;
    for (const QString& spec : specs) {
        const QStringList parts = spec.split(u' ');
        const QStringList times = parts.value(1).split(u'-');
        list.push_back(
            {QDate::fromString("2026-" + parts[0], Qt::ISODate), times.value(0), times.value(1)});
    }
    return list;
}

// The same times on consecutive days from a day.
QStringList run(const QString& first, int count, const QString& times)
{
    QStringList specs;
    const QDate start = QDate::fromString("2026-" + first, Qt::ISODate);
    for (int i = 0; i < count; ++i)
        specs << start.addDays(i).toString("MM-dd") + u' ' + times;
    return specs;
}

LegalRules rulesOf(Qt::DayOfWeek weekStart, std::optional<Qt::DayOfWeek> legalHoliday,
                   BreakRule breakRule = BreakRule::OneHour)
{
    return {weekStart, legalHoliday, breakRule};
}

const LegalRules kSunday = rulesOf(Qt::Sunday, Qt::Sunday);
const LegalRules kLawBreak = rulesOf(Qt::Sunday, Qt::Sunday, BreakRule::LawMinimum);

// "45:00/0:30" → overtime and legal-day-off minutes of consecutive months from April 2026.
std::vector<AgreementMonth> months(const QStringList& specs, int firstMonth = 4)
{
    std::vector<AgreementMonth> list;
    QDate month(2026, firstMonth, 1);
    for (const QString& spec : specs) {
        const auto minutes = [](const QString& hmm) {
            const QStringList parts = hmm.split(u':');
            return parts.value(0).toInt() * 60 + parts.value(1).toInt();
        };
        const QStringList parts = spec.split(u'/');
        list.push_back(
            {month.year(), month.month(), minutes(parts.value(0)), minutes(parts.value(1))});
        month = month.addMonths(1);
    }
    return list;
}

} // namespace

class TestLegalTime : public QObject {
    Q_OBJECT

private slots:
    void legalMonth_data()
    {
        QTest::addColumn<QStringList>("earlier");
        QTest::addColumn<QStringList>("period");
        QTest::addColumn<LegalRules>("rules");
        QTest::addColumn<LegalMonth>("expected"); // worked, within, overtime, over 60, day off,
                                                  // night
        const auto row = [](const char* name, const QStringList& earlier, const QStringList& period,
                            const LegalRules& rules, const LegalMonth& expected) {
            addTestRow(name, earlier, period, rules, expected);
        };
        const QStringList monToFri = run("11-02", 5, "0900-1800");
        row("one day of 9 to 18", {}, {"11-02 0900-1800"}, kSunday, {480, 480, 0, 0, 0, 0});
        row("the day past 8 hours", {}, {"11-02 0900-2000"}, kSunday, {600, 480, 120, 0, 0, 0});
        row("a Saturday worked past 40 hours", {}, monToFri + QStringList{"11-07 0900-1800"},
            kSunday, {2880, 2400, 480, 0, 0, 0});
        row("a Saturday worked, a weekday off in the same week", {},
            run("11-02", 4, "0900-1800") + QStringList{"11-07 0900-1800"}, kSunday,
            {2400, 2400, 0, 0, 0, 0});
        row("a Saturday worked, a weekday off in another week", {},
            run("11-02", 6, "0900-1800") + run("11-09", 4, "0900-1800"), kSunday,
            {4800, 4320, 480, 0, 0, 0});
        row("daily and weekly overtime in one week", {},
            run("11-02", 5, "0900-2000") + QStringList{"11-07 0900-1800"}, kSunday,
            {3480, 2400, 1080, 0, 0, 0});
        row("the legal day off", {}, {"11-08 0900-1800"}, kSunday, {480, 0, 0, 0, 480, 0});
        row("the legal day off is not of the week's 40 hours", {},
            QStringList{"11-08 0900-1800"} + run("11-09", 5, "0900-1800"), kSunday,
            {2880, 2400, 0, 0, 480, 0});
        row("no legal day off: Sunday is of the week", {},
            QStringList{"11-08 0900-1800"} + run("11-09", 5, "0900-1800"),
            rulesOf(Qt::Sunday, std::nullopt), {2880, 2400, 480, 0, 0, 0});
        row("Saturday the legal day off", {}, run("11-02", 6, "0900-1800"),
            rulesOf(Qt::Sunday, Qt::Saturday), {2880, 2400, 0, 0, 480, 0});
        row("weeks from Monday", {}, run("11-03", 7, "0900-1800"),
            rulesOf(Qt::Monday, std::nullopt), {3360, 2880, 480, 0, 0, 0});
        row("weeks from Sunday, the same days", {}, run("11-03", 7, "0900-1800"),
            rulesOf(Qt::Sunday, std::nullopt), {3360, 3360, 0, 0, 0, 0});
        row("earlier days of the first week count toward its 40 hours only",
            {"11-02 0900-1800", "11-03 2200-0700"}, run("11-04", 4, "0900-1800"), kSunday,
            {1920, 1440, 480, 0, 0, 0});
        row("the legal day off worked past midnight, whole on its start date", {},
            {"11-08 2000-0500"}, kSunday, {480, 0, 0, 0, 480, 420});
        row("Saturday night into Sunday is Saturday's", {}, {"11-07 2000-0500"}, kSunday,
            {480, 480, 0, 0, 0, 420});
        row("a night shift into the next day", {}, {"11-02 2200-0700"}, kSunday,
            {480, 480, 0, 0, 0, 420});
        row("equal times are no span", {}, {"11-02 0900-0900"}, kSunday, {0, 0, 0, 0, 0, 0});
        row("a day without both times counts nothing", {}, {"11-02 0900-", "11-03 -1800"}, kSunday,
            {0, 0, 0, 0, 0, 0});
        row("one hour: a span of 1:00 has no break", {}, {"11-02 0900-1000"}, kSunday,
            {60, 60, 0, 0, 0, 0});
        row("one hour: a span of 1:01 has an hour", {}, {"11-02 0900-1001"}, kSunday,
            {1, 1, 0, 0, 0, 0});
        row("law: 6:00 of span, no break", {}, {"11-02 0900-1500"}, kLawBreak,
            {360, 360, 0, 0, 0, 0});
        row("law: 6:01 of span, 45 minutes", {}, {"11-02 0900-1501"}, kLawBreak,
            {316, 316, 0, 0, 0, 0});
        row("law: 8:45 of span, 45 minutes", {}, {"11-02 0900-1745"}, kLawBreak,
            {480, 480, 0, 0, 0, 0});
        row("law: 8:46 of span, an hour", {}, {"11-02 0900-1746"}, kLawBreak,
            {466, 466, 0, 0, 0, 0});
        const QStringList long10 = run("11-02", 5, "0800-2300") + run("11-09", 5, "0800-2300");
        row("60 hours of overtime exactly", {}, long10, kSunday, {8400, 4800, 3600, 0, 0, 600});
        row("a minute past 60 hours", {}, long10 + QStringList{"11-16 0900-1801"}, kSunday,
            {8881, 5280, 3601, 1, 0, 600});
    }
    void legalMonth()
    {
        QFETCH(QStringList, earlier);
        QFETCH(QStringList, period);
        QFETCH(LegalRules, rules);
        QFETCH(LegalMonth, expected);
        const LegalMonth got = CalcLegalMonth(days(earlier), days(period), rules);
        QCOMPARE(QList<int>({got.worked, got.withinLegal, got.overtime, got.overtimeOver60,
                             got.legalHoliday, got.night}),
                 QList<int>({expected.worked, expected.withinLegal, expected.overtime,
                             expected.overtimeOver60, expected.legalHoliday, expected.night}));
    }

    void agreement_data()
    {
        QTest::addColumn<QStringList>("months"); // overtime/legal day off, from April 2026
        QTest::addColumn<AgreementRules>("rules");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("rule");

        AgreementRules plain;
        AgreementRules special;
        special.specialClause = true;
        AgreementRules special60 = special;
        special60.monthlyLimit = 60 * 60;
        using enum AgreementState;
        addTestRow("45 hours a month: at the limit", QStringList{"45:00/0:00"}, plain, int(Warning),
                   QString("月45時間"));
        addTestRow("45:01 a month is over", QStringList{"45:01/0:00"}, plain, int(Over),
                   QString("月45時間"));
        addTestRow("70 % is a caution", QStringList{"31:30/0:00"}, plain, int(Caution),
                   QString("月45時間"));
        addTestRow("under 70 % is ok", QStringList{"31:29/9:00"}, plain, int(Ok), QString());
        addTestRow("360:01 in the year is over",
                   QStringList(8, "45:00/0:00") + QStringList{"0:01/0:00"}, plain, int(Over),
                   QString("年360時間"));
        addTestRow("99:59 with the day off", QStringList{"59:59/40:00"}, special, int(Warning),
                   QString("月100時間未満（休日労働含む）"));
        addTestRow("100:00 is already over", QStringList{"60:00/40:00"}, special, int(Over),
                   QString("月100時間未満（休日労働含む）"));
        addTestRow("80:00 over 2 months", QStringList{"80:00/0:00", "60:00/20:00"}, special,
                   int(Warning), QString("2か月平均80時間以内"));
        addTestRow("80:01 over 2 months", QStringList{"80:00/0:00", "60:00/20:02"}, special,
                   int(Over), QString("2か月平均80時間以内"));
        addTestRow("80:00 over 6 months", QStringList(6, "44:00/36:00"), special, int(Warning),
                   QString("2か月平均80時間以内"));
        addTestRow("80:01 over 6 months, and over no shorter run",
                   QStringList{"44:06/36:00"} + QStringList(5, "44:00/36:00"), special, int(Over),
                   QString("6か月平均80時間以内"));
        addTestRow("the runs cross the agreement year", QStringList{"81:00/0:00", "79:02/0:00"},
                   special, int(Over), QString("2か月平均80時間以内"));
        addTestRow("the 6th month over 45 hours", QStringList(6, "46:00/0:00"), special,
                   int(Warning), QString("月45時間超は年6回まで"));
        addTestRow("the 7th month over 45 hours", QStringList(7, "46:00/0:00"), special, int(Over),
                   QString("月45時間超は年6回まで"));
        addTestRow("720 hours in the year", QStringList(12, "60:00/0:00"), special60, int(Warning),
                   QString("年720時間"));
        addTestRow("720:01 in the year", QStringList(11, "60:00/0:00") + QStringList{"60:01/0:00"},
                   special60, int(Over), QString("年720時間"));
    }
    void agreement()
    {
        QFETCH(QStringList, months);
        QFETCH(AgreementRules, rules);
        QFETCH(int, state);
        QFETCH(QString, rule);
        // The run that crosses the agreement year starts in March.
        const int first = QTest::currentDataTag() == QLatin1String("the runs cross the agreement "
                                                                   "year")
                              ? 3
                              : 4;
        const AgreementCheck check = checkAgreement(::months(months, first), rules);
        QCOMPARE(int(check.state), state);
        QCOMPARE(check.rule, rule);
    }

    void worstAverageOfTheRuns()
    {
        QCOMPARE(worstAverage(months({"90:00/0:00", "70:00/0:00", "10:00/0:00"})), 80 * 60);
        QCOMPARE(worstAverage(months({"80:00/0:01", "80:00/0:00"})), 80 * 60 + 1); // rounded up
        QCOMPARE(worstAverage(months({"99:00/0:00"})), 0);                         // no run of two
    }
};

QTEST_APPLESS_MAIN(TestLegalTime)
#include "tst_legaltime.moc"
