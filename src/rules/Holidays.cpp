#include "Holidays.h"

namespace {

const QDate kLawInForce(1948, 7, 20);
const QDate kSubstitutesFrom(1973, 4, 12);
const QDate kDaysBetweenFrom(1985, 12, 27);
const QDate kLongerSubstitutesFrom(2007, 1, 1);

// The day of the month of the nth Monday.
int nthMonday(int year, int month, int n)
{
    const int firstMonday = 1 + (8 - QDate(year, month, 1).dayOfWeek()) % 7;
    return firstMonday + 7 * (n - 1);
}

// The equinox days in March and September; the approximation holds from 1900 to 2099.
int vernalEquinox(int year)
{
    const double base = year < 1980 ? 20.8357 : 20.8431;
    const int leapShift = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
    return int(base + 0.242194 * (year - 1980) - leapShift);
}

int autumnalEquinox(int year)
{
    const double base = year < 1980 ? 23.2588 : 23.2488;
    const int leapShift = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
    return int(base + 0.242194 * (year - 1980) - leapShift);
}

// The holiday proper of a day (国民の祝日, or a day off by a law of its own), without the
// substitute days and the days between two holidays.
QString holidayProper(const QDate& d)
{
    if (d < kLawInForce)
        return {};
    const int y = d.year();
    const int day = d.day();
    switch (d.month()) {
    case 1:
        if (day == 1)
            return QStringLiteral("元日");
        if (day == (y < 2000 ? 15 : nthMonday(y, 1, 2)))
            return QStringLiteral("成人の日");
        break;
    case 2:
        if (day == 11 && y >= 1967)
            return QStringLiteral("建国記念の日");
        if (day == 23 && y >= 2020)
            return QStringLiteral("天皇誕生日");
        if (y == 1989 && day == 24)
            return QStringLiteral("大喪の礼");
        break;
    case 3:
        if (day == vernalEquinox(y))
            return QStringLiteral("春分の日");
        break;
    case 4:
        if (day == 29) {
            if (y <= 1988)
                return QStringLiteral("天皇誕生日");
            return y <= 2006 ? QStringLiteral("みどりの日") : QStringLiteral("昭和の日");
        }
        if (y == 1959 && day == 10)
            return QStringLiteral("結婚の儀");
        break;
    case 5:
        if (day == 3)
            return QStringLiteral("憲法記念日");
        if (day == 4 && y >= 2007)
            return QStringLiteral("みどりの日");
        if (day == 5)
            return QStringLiteral("こどもの日");
        if (y == 2019 && day == 1)
            return QStringLiteral("休日（祝日扱い）");
        break;
    case 6:
        if (y == 1993 && day == 9)
            return QStringLiteral("結婚の儀");
        break;
    case 7:
        if (y >= 1996 && day == (y == 2020   ? 23
                                 : y == 2021 ? 22
                                 : y < 2003  ? 20
                                             : nthMonday(y, 7, 3)))
            return QStringLiteral("海の日");
        if ((y == 2020 && day == 24) || (y == 2021 && day == 23))
            return QStringLiteral("スポーツの日");
        break;
    case 8:
        if (y >= 2016 && day == (y == 2020 ? 10 : y == 2021 ? 8 : 11))
            return QStringLiteral("山の日");
        break;
    case 9:
        if (y >= 1966 && day == (y < 2003 ? 15 : nthMonday(y, 9, 3)))
            return QStringLiteral("敬老の日");
        if (day == autumnalEquinox(y))
            return QStringLiteral("秋分の日");
        break;
    case 10:
        if (y >= 1966 && y != 2020 && y != 2021 && day == (y < 2000 ? 10 : nthMonday(y, 10, 2)))
            return y < 2020 ? QStringLiteral("体育の日") : QStringLiteral("スポーツの日");
        if (y == 2019 && day == 22)
            return QStringLiteral("休日（祝日扱い）");
        break;
    case 11:
        if (day == 3)
            return QStringLiteral("文化の日");
        if (day == 23)
            return QStringLiteral("勤労感謝の日");
        if (y == 1990 && day == 12)
            return QStringLiteral("即位礼正殿の儀");
        break;
    case 12:
        if (day == 23 && y >= 1989 && y <= 2018)
            return QStringLiteral("天皇誕生日");
        break;
    }
    return {};
}

bool isHolidayProper(const QDate& d)
{
    return !holidayProper(d).isEmpty();
}

// A holiday on a Sunday gives the next day off; from 2007 the next day that is no holiday.
bool isSubstituteDay(const QDate& d)
{
    QDate before = d.addDays(-1);
    if (d < kLongerSubstitutesFrom)
        return before >= kSubstitutesFrom && before.dayOfWeek() == Qt::Sunday &&
               isHolidayProper(before);
    for (; isHolidayProper(before); before = before.addDays(-1)) {
        if (before.dayOfWeek() == Qt::Sunday)
            return true;
    }
    return false;
}

} // namespace

QString JapaneseHolidayName(const QDate& day)
{
    if (!day.isValid() || day.year() < 1948 || day.year() > 2099)
        return {};
    if (QString name = holidayProper(day); !name.isEmpty())
        return name;
    if (isSubstituteDay(day))
        return QStringLiteral("振替休日");
    // A day between two holidays is off too; before 2007 a Sunday stayed a plain Sunday.
    if (day >= kDaysBetweenFrom && isHolidayProper(day.addDays(-1)) &&
        isHolidayProper(day.addDays(1)) &&
        (day >= kLongerSubstitutesFrom || day.dayOfWeek() != Qt::Sunday))
        return QStringLiteral("休日");
    return {};
}

unsigned dayRgb(const QDate& day, bool officeDayOff)
{
    if (officeDayOff || !JapaneseHolidayName(day).isEmpty())
        return 0xff0000;
    return weekdayRgb(day.dayOfWeek());
}

QString dayNote(const QDate& day, const QString& officeDayOff)
{
    const QString holiday = JapaneseHolidayName(day);
    if (holiday.isEmpty() || officeDayOff.isEmpty() || officeDayOff == holiday)
        return holiday.isEmpty() ? officeDayOff : holiday;
    return holiday + QStringLiteral("・") + officeDayOff;
}

unsigned weekdayRgb(int dayOfWeek)
{
    if (dayOfWeek == Qt::Sunday)
        return 0xff0000;
    return dayOfWeek == Qt::Saturday ? 0x0000ff : 0x000000;
}
