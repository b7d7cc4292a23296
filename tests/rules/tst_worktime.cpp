#include "Holidays.h"
#include "WorkTime.h"

#include "TestRows.h"

#include <QTest>

#include <cmath>

namespace {

constexpr double kThird = 1.0 / 3;

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

QString clock(int hour, int minute)
{
    return QStringLiteral("%1%2")
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'));
}

std::vector<DayRow> period(const QDate& first, int days)
{
    std::vector<DayRow> rows;
    for (int i = 0; i < days; ++i)
        rows.push_back({"0001", "200403", first.addDays(i), "", "0", "", "", 0, 0, 0, 0});
    return rows;
}

} // namespace

class TestWorkTime : public QObject {
    Q_OBJECT

private slots:
    void day_data()
    {
        QTest::addColumn<QString>("syukin");
        QTest::addColumn<QString>("taisya");
        QTest::addColumn<double>("basic");
        QTest::addColumn<double>("breakHours");
        QTest::addColumn<double>("overtime");
        QTest::addColumn<double>("night");

        const auto row = [](const char* in, const char* out, double basic, double breakHours,
                            double overtime, double night, const char* note = "") {
            QTest::addRow("%s-%s%s", in, out, note)
                << in << out << basic << breakHours << overtime << night;
        };
        row("0900", "1800", 8, 1, 0, 0);
        row("0830", "2015", 8, 1, 2.75, 0);
        row("0900", "0945", 0.75, 0, 0, 0, " short");
        row("1300", "1430", 0.5, 1, 0, 0);
        row("1700", "0200", 8, 1, 0, 4, " next day");
        row("2200", "0500", 0, 0, 0, 7, " night only");
        row("2300", "0000", 1, 0, 0, 0, " one hour at night");
        row("2300", "2230", 8, 1, 14.5, 6.5, " almost a day");
        row("0900", "0900", 0, 0, 0, 0, " zero, not 24");
        row("0900", "1720", 7 + kThird, 1, 0, 0, " thirds");
        row("2130", "2300", 0, 0, 0, 1, " more night than work after the break");
        row("9999", "0000", -(75 + 99 / 60.0), 0, 0, 0, " beyond the clock, as typed");
    }
    void day()
    {
        QFETCH(QString, syukin);
        QFETCH(QString, taisya);
        QFETCH(double, basic);
        QFETCH(double, breakHours);
        QFETCH(double, overtime);
        QFETCH(double, night);

        const WorkTime w = CalcWorkTime({syukin, taisya});
        QVERIFY2(near(w.kihonJn, basic), qPrintable(QString::number(w.kihonJn)));
        QVERIFY2(near(w.kyukeiJn, breakHours), qPrintable(QString::number(w.kyukeiJn)));
        QVERIFY2(near(w.zangyouJn, overtime), qPrintable(QString::number(w.zangyouJn)));
        QVERIFY2(near(w.sinyaJn, night), qPrintable(QString::number(w.sinyaJn)));
    }

    // For every pair of real clock times: the span is split without loss, the break is all or
    // nothing, the day holds at most 8 basic hours, and the night part never exceeds the span.
    void everyValidPairIsConsistent()
    {
        for (int from = 0; from < 24 * 60; ++from) {
            const QString in = clock(from / 60, from % 60);
            for (int to = 0; to < 24 * 60; to += 7) {
                const WorkTime w = CalcWorkTime({in, clock(to / 60, to % 60)});
                const double span = ((to - from + 24 * 60) % (24 * 60)) / 60.0;
                const QByteArray where = (in + "-" + clock(to / 60, to % 60)).toLatin1();
                QVERIFY2(w.sinyaJn >= 0 && w.sinyaJn <= span + 1e-9, where);
                QVERIFY2(w.kihonJn >= 0 && w.kihonJn <= 8 + 1e-9 && w.zangyouJn >= 0, where);
                if (span <= 1) {
                    QVERIFY2(near(w.kihonJn, span) && w.kyukeiJn == 0 && w.sinyaJn == 0, where);
                } else if (w.kyukeiJn == 0) {
                    QVERIFY2(w.kihonJn == 0 && w.zangyouJn == 0 && w.sinyaJn > span - 1, where);
                } else {
                    QVERIFY2(w.kyukeiJn == 1, where);
                    QVERIFY2(near(w.kihonJn + w.zangyouJn + w.kyukeiJn, span), where);
                    QVERIFY2(w.zangyouJn == 0 || near(w.kihonJn, 8), where);
                }
            }
        }
    }

    // Any four digits may be typed: every pair yields finite figures, the same each time.
    void everyFourDigitPairIsDefined()
    {
        for (int a = 0; a <= 9999; a += 37) {
            for (int b = 0; b <= 9999; b += 41) {
                const ClockTimes times{clock(a / 100, a % 100), clock(b / 100, b % 100)};
                const WorkTime w = CalcWorkTime(times);
                QVERIFY(std::isfinite(w.kihonJn) && std::isfinite(w.kyukeiJn) &&
                        std::isfinite(w.zangyouJn) && std::isfinite(w.sinyaJn));
                QVERIFY(w == CalcWorkTime(times));
            }
        }
    }

    void allowance_data()
    {
        QTest::addColumn<QDate>("first");
        QTest::addColumn<int>("days");
        QTest::addColumn<double>("expected");
        addTestRow("three weekdays: the floor", QDate(2004, 3, 3), 3, 40.0);
        addTestRow("February 2004, leap year", QDate(2004, 2, 1), 29, 160.0);
        addTestRow("mid-month period 21st to 20th", QDate(2005, 1, 21), 31, 168.0);
    }
    void allowance()
    {
        QFETCH(QDate, first);
        QFETCH(int, days);
        QFETCH(double, expected);
        QCOMPARE(calcKihon40(period(first, days)), expected);
    }

    void totals_data()
    {
        QTest::addColumn<QStringList>("classes"); // of the days from Monday 1 March 2004
        QTest::addColumn<double>("dayBasic");
        QTest::addColumn<double>("dayOvertime");
        QTest::addColumn<double>("basic");
        QTest::addColumn<double>("overtime");
        const auto row = [](const char* name, const char* classes, double dayBasic,
                            double dayOvertime, double basic, double overtime) {
            addTestRow(name, QString::fromLatin1(classes).split(u','), dayBasic, dayOvertime, basic,
                       overtime);
        };
        row("five normal days of 8: at the allowance", "0,0,0,0,0", 8, 0, 40, 0);
        row("four days of 12: shorter than 5 days is never capped", "0,0,0,0", 12, 0, 48, 0);
        row("five days of 9: a period of exactly 5 days is capped", "0,0,0,0,0", 9, 0, 40, 5);
        row("rest days add nothing of their basic to the cap", "0,0,0,0,0,2,2", 9, 0, 58, 5);
        row("class not yet set counts as normal", ",,,,,", 8, 0, 40, 8);
        row("a code read as a number: 1x is holiday work", "1x", 8, 0, 0, 8);
        row("a half day's basic is basic, never against the cap", "0,0,0,0,0,4", 9, 0, 49, 5);
        row("leave and absence add what they hold to basic", "3,6,7,8,5", 2, 0, 10, 0);
    }
    void totals()
    {
        QFETCH(QStringList, classes);
        QFETCH(double, dayBasic);
        QFETCH(double, dayOvertime);
        QFETCH(double, basic);
        QFETCH(double, overtime);

        std::vector<DayRow> rows = period(QDate(2004, 3, 1), int(classes.size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].syukinKb = classes.at(qsizetype(i));
            rows[i].kihon1 = dayBasic;
            rows[i].kihon2 = dayOvertime;
            rows[i].kihon3 = 0.5;
            rows[i].kihon4 = 1;
        }
        MonthHeader h;
        CalcTotals(rows, calcKihon40(rows), h);
        QCOMPARE(h.kihon1, basic);
        QCOMPARE(h.kihon2, overtime);
        QCOMPARE(h.kihon3, 0.5 * classes.size());
        QCOMPARE(h.kihon4, 1.0 * classes.size());
    }

    // Whole years against the published lists: each holiday as "MMDD name".
    void holidaysOfTheYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("holidays");
        const auto row = [](int year, const char* holidays) {
            QTest::addRow("%d", year) << year << QString::fromUtf8(holidays);
        };
        row(1989, "0101元日 0102振替休日 0115成人の日 0116振替休日 0211建国記念の日 0224大喪の礼 "
                  "0321春分の日 0429みどりの日 0503憲法記念日 0504休日 0505こどもの日 0915敬老の日 "
                  "0923秋分の日 1010体育の日 1103文化の日 1123勤労感謝の日 1223天皇誕生日");
        row(2000,
            "0101元日 0110成人の日 0211建国記念の日 0320春分の日 0429みどりの日 0503憲法記念日 "
            "0504休日 0505こどもの日 0720海の日 0915敬老の日 0923秋分の日 1009体育の日 "
            "1103文化の日 1123勤労感謝の日 1223天皇誕生日");
        row(2007,
            "0101元日 0108成人の日 0211建国記念の日 0212振替休日 0321春分の日 0429昭和の日 "
            "0430振替休日 0503憲法記念日 0504みどりの日 0505こどもの日 0716海の日 0917敬老の日 "
            "0923秋分の日 0924振替休日 1008体育の日 1103文化の日 1123勤労感謝の日 "
            "1223天皇誕生日 1224振替休日");
        row(2019, "0101元日 0114成人の日 0211建国記念の日 0321春分の日 0429昭和の日 0430休日 "
                  "0501休日（祝日扱い） 0502休日 0503憲法記念日 0504みどりの日 0505こどもの日 "
                  "0506振替休日 0715海の日 0811山の日 0812振替休日 0916敬老の日 0923秋分の日 "
                  "1014体育の日 1022休日（祝日扱い） 1103文化の日 1104振替休日 1123勤労感謝の日");
        row(2020,
            "0101元日 0113成人の日 0211建国記念の日 0223天皇誕生日 0224振替休日 0320春分の日 "
            "0429昭和の日 0503憲法記念日 0504みどりの日 0505こどもの日 0506振替休日 0723海の日 "
            "0724スポーツの日 0810山の日 0921敬老の日 0922秋分の日 1103文化の日 1123勤労感謝の日");
        row(2021,
            "0101元日 0111成人の日 0211建国記念の日 0223天皇誕生日 0320春分の日 0429昭和の日 "
            "0503憲法記念日 0504みどりの日 0505こどもの日 0722海の日 0723スポーツの日 0808山の日 "
            "0809振替休日 0920敬老の日 0923秋分の日 1103文化の日 1123勤労感謝の日");
        row(2026,
            "0101元日 0112成人の日 0211建国記念の日 0223天皇誕生日 0320春分の日 0429昭和の日 "
            "0503憲法記念日 0504みどりの日 0505こどもの日 0506振替休日 0720海の日 0811山の日 "
            "0921敬老の日 0922休日 0923秋分の日 1012スポーツの日 1103文化の日 1123勤労感謝の日");
    }
    void holidaysOfTheYear()
    {
        QFETCH(int, year);
        QFETCH(QString, holidays);
        QStringList found;
        for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
            if (const QString name = JapaneseHolidayName(d); !name.isEmpty())
                found << d.toString("MMdd") + name;
        }
        QCOMPARE(found.join(u' '), holidays);
    }

    // The rules where they begin and end, and the equinoxes of years not listed above.
    void holidayRules_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* note, QDate day, const char* name) {
            addTestRow(note, day, QString::fromUtf8(name));
        };
        row("before the law", QDate(1948, 5, 3), "");
        row("the law's first autumn", QDate(1948, 9, 23), "秋分の日");
        row("Sunday holiday before substitutes", QDate(1972, 4, 30), "");
        row("first substitute", QDate(1973, 4, 30), "振替休日");
        row("Sunday between two holidays, 1987", QDate(1987, 5, 4), "振替休日");
        row("first day between two holidays", QDate(1988, 5, 4), "休日");
        row("Sunday between two holidays stays a Sunday", QDate(1986, 5, 4), "");
        row("wedding of 1959", QDate(1959, 4, 10), "結婚の儀");
        row("enthronement of 1990", QDate(1990, 11, 12), "即位礼正殿の儀");
        row("wedding of 1993", QDate(1993, 6, 9), "結婚の儀");
        row("first 海の日", QDate(1996, 7, 20), "海の日");
        row("海の日 on the third Monday, 2003", QDate(2003, 7, 21), "海の日");
        row("equinox 1960", QDate(1960, 3, 20), "春分の日");
        row("equinox 2012", QDate(2012, 9, 22), "秋分の日");
        row("equinox 2099", QDate(2099, 9, 23), "秋分の日");
        row("beyond 2099", QDate(2100, 1, 1), "");
    }
    void holidayRules()
    {
        QFETCH(QDate, day);
        QFETCH(QString, name);
        QCOMPARE(JapaneseHolidayName(day), name);
    }

    void dayClasses_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("dayClass"); // -1 for none
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* stored, int dayClass, const char* caption) {
            addTestRow(stored, stored, dayClass, caption);
        };
        row("0", int(DayClass::Normal), "通常出勤");
        row("1", int(DayClass::HolidayWork), "休日出勤");
        row("2", int(DayClass::Rest), "公休日");
        row("2x", int(DayClass::Rest), ""); // a rest day without a caption
        row("", int(DayClass::Normal), "");
        row("3", int(DayClass::PaidLeave), "有給休暇");
        row("5", int(DayClass::AfternoonLeave), "午後半休");
        row("8", int(DayClass::SubstituteOff), "振休・代休");
        row("9", -1, "");
    }
    void dayClasses()
    {
        QFETCH(QString, stored);
        QFETCH(int, dayClass);
        QFETCH(QString, caption);
        const std::optional<DayClass> read = readDayClass(stored);
        QCOMPARE(read ? int(*read) : -1, dayClass);
        QCOMPARE(dayClassCaption(stored), caption);
    }
};

QTEST_GUILESS_MAIN(TestWorkTime)
#include "tst_worktime.moc"
