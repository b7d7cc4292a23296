#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include "LegalRecords.h"

#include <optional>
#include <vector>

// The records that the storage operations read and write and that the screens own.
// Plain values: the screens copy them freely.

// A typed staff code made four characters long: the last four of "0000" followed by the text,
// so "12" becomes "0012" and an empty field "0000". Any characters are kept as typed.
inline QString padStaffCode(const QString& typed)
{
    return (QStringLiteral("0000") + typed).right(4);
}

// One staff member of the staff master.
struct StaffRecord {
    QString staffCd; // four characters, the key
    QString staffNm;
    QString staffKm; // reading of the name in kana

    friend bool operator==(const StaffRecord&, const StaffRecord&) = default;
};

// The staff member on display in the timesheet entry screen with the month's totals.
struct MonthHeader {
    QString staffCd;
    QString staffNm;
    QString staffKm;
    QString syoriDt;   // processing month "yyyymm"
    QDate kikanSt;     // first day of the period
    QDate kikanEn;     // last day of the period
    double kihon1 = 0; // basic hours
    double kihon2 = 0; // overtime hours
    double kihon3 = 0; // late-night hours
    double kihon4 = 0; // break hours

    friend bool operator==(const MonthHeader&, const MonthHeader&) = default;
};

// A date as the program writes it for the clerk: "2005/02/01".
inline QString slashDate(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

// A processing month "yyyymm" as the clerk reads it: "2005年02月分".
inline QString monthCaption(const QString& syoriDt)
{
    return syoriDt.left(4) + u'年' + syoriDt.mid(4) + QStringLiteral("月分");
}

// The weekday of a day as DayRow::week holds it: "1" for Sunday to "7" for Saturday.
inline QString weekday(const QDate& day)
{
    return QString::number(day.dayOfWeek() % 7 + 1);
}

// The caption of a weekday as DayRow::week holds it: 日 for "1" to 土 for "7"; empty otherwise.
inline QString weekdayCaption(const QString& week)
{
    static const QString captions[] = {
        QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
        QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};
    bool numeric = false;
    const int w = week.toInt(&numeric);
    return numeric && w >= 1 && w <= 7 ? captions[w - 1] : QString();
}

// A stored clock time "hhmm" as the clerk reads it, "hh:mm"; empty text stays empty.
inline QString clockText(const QString& hhmm)
{
    return hhmm.isEmpty() ? QString() : hhmm.left(2) + u':' + hhmm.right(2);
}

// Four hour figures as the history writes them, basic/overtime/late-night/break with two
// decimals: "8.00/0.00/0.00/1.00".
inline QString hoursFigures(double basic, double overtime, double lateNight, double breaks)
{
    return QStringLiteral("%1/%2/%3/%4")
        .arg(basic, 0, 'f', 2)
        .arg(overtime, 0, 'f', 2)
        .arg(lateNight, 0, 'f', 2)
        .arg(breaks, 0, 'f', 2);
}

// The leading decimal digits of a piece of text as a number, the way stored codes and clock
// parts are read: "2x" reads 2, text without leading digits 0.
inline int leadingNumber(QStringView text)
{
    int number = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9' || number > 99999)
            break;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

// A day's attendance class, stored as its position in the timesheet screen's class list. The
// first three are the office's working and rest days; the rest are leave and absence, which take
// no times except the half days, whose worked half is clocked.
enum class DayClass {
    Normal = 0,         // "0" 通常出勤, a normal working day
    HolidayWork = 1,    // "1" 休日出勤, work on a holiday
    Rest = 2,           // "2" 公休日, a rest day
    PaidLeave = 3,      // "3" 有給休暇, a whole day of paid leave
    MorningLeave = 4,   // "4" 午前半休, paid leave in the morning, work in the afternoon
    AfternoonLeave = 5, // "5" 午後半休, work in the morning, paid leave in the afternoon
    Absence = 6,        // "6" 欠勤
    SpecialLeave = 7,   // "7" 特別休暇, paid special leave (慶弔 and the like)
    SubstituteOff = 8, // "8" 振替休日・代休, a day off given in exchange for work on a day off
};

constexpr DayClass kLastDayClass = DayClass::SubstituteOff;

// Every class, in the order of the class list.
inline const std::vector<DayClass>& allDayClasses()
{
    static const std::vector<DayClass> classes = {
        DayClass::Normal,    DayClass::HolidayWork,  DayClass::Rest,
        DayClass::PaidLeave, DayClass::MorningLeave, DayClass::AfternoonLeave,
        DayClass::Absence,   DayClass::SpecialLeave, DayClass::SubstituteOff};
    return classes;
}

// The stored class read as a number, as the work-time rules, the screen and the sheet all read
// it ("2x" is a rest day, empty text a normal day); none for a number of no class.
inline std::optional<DayClass> readDayClass(const QString& stored)
{
    const int number = leadingNumber(stored);
    if (number > int(kLastDayClass))
        return std::nullopt;
    return DayClass(number);
}

inline bool isRestDay(const QString& stored)
{
    return readDayClass(stored) == DayClass::Rest;
}

// Work is expected on a day of the class, so both its times are: normal days, work on a holiday
// and the half days. The other classes take no times.
inline bool takesTimes(DayClass dayClass)
{
    switch (dayClass) {
    case DayClass::Normal:
    case DayClass::HolidayWork:
    case DayClass::MorningLeave:
    case DayClass::AfternoonLeave:
        return true;
    default:
        return false;
    }
}

// A stored class that takes times; an unknown one is read as the rules read it, as work.
inline bool takesTimes(const QString& stored)
{
    const std::optional<DayClass> dayClass = readDayClass(stored);
    return !dayClass || takesTimes(*dayClass);
}

// The days of paid annual leave a day of the class uses: 1, a half, or none.
inline double paidLeaveDays(DayClass dayClass)
{
    switch (dayClass) {
    case DayClass::PaidLeave:
        return 1;
    case DayClass::MorningLeave:
    case DayClass::AfternoonLeave:
        return 0.5;
    default:
        return 0;
    }
}

// The stored text of a class: "0" to "8".
inline QString dayClassCode(DayClass dayClass)
{
    return QString::number(int(dayClass));
}

inline QString dayClassCaption(DayClass dayClass)
{
    switch (dayClass) {
    case DayClass::Normal:
        return QStringLiteral("通常出勤");
    case DayClass::HolidayWork:
        return QStringLiteral("休日出勤");
    case DayClass::Rest:
        break;
    case DayClass::PaidLeave:
        return QStringLiteral("有給休暇");
    case DayClass::MorningLeave:
        return QStringLiteral("午前半休");
    case DayClass::AfternoonLeave:
        return QStringLiteral("午後半休");
    case DayClass::Absence:
        return QStringLiteral("欠勤");
    case DayClass::SpecialLeave:
        return QStringLiteral("特別休暇");
    case DayClass::SubstituteOff:
        return QStringLiteral("振休・代休");
    }
    return QStringLiteral("公休日");
}

// The caption of a stored class; only the exact codes "0" to "8" have one.
inline QString dayClassCaption(const QString& stored)
{
    const std::optional<DayClass> dayClass = readDayClass(stored);
    return dayClass && stored.size() == 1 ? dayClassCaption(*dayClass) : QString();
}

// One day of a month's timesheet.
struct DayRow {
    QString staffCd;
    QString syoriDt;
    QDate kintaiDt;
    QString week;      // "1" (Sunday) to "7" (Saturday); never stored
    QString syukinKb;  // the DayClass code: "0", "1" or "2"
    QString syukin;    // clock-in "hhmm" or empty
    QString taisya;    // clock-out "hhmm" or empty
    double kihon1 = 0; // basic hours
    double kihon2 = 0; // overtime hours
    double kihon3 = 0; // late-night hours
    double kihon4 = 0; // break hours

    friend bool operator==(const DayRow&, const DayRow&) = default;
};

// One member's month as payroll takes it: the stored summary, with the days counted by class.
struct PayrollRow {
    QString staffCd;
    QString staffNm;
    QString syoriDt;
    QDate kikanSt;
    QDate kikanEn;
    int workDays = 0;        // normal working days with both times
    int holidayWorkDays = 0; // days of work on a holiday with both times
    int restDays = 0;
    double kihon1 = 0; // the month totals, as stored
    double kihon2 = 0;
    double kihon3 = 0;
    double kihon4 = 0;
    bool closed = false;      // the month was closed (締め) for payroll
    double paidLeaveDays = 0; // days of paid leave, a half day 0.5
    int absenceDays = 0;
    int specialLeaveDays = 0;
    int substituteDays = 0; // days off given in exchange
    LegalMonth legal;       // the law's hours, where a layout carries them

    friend bool operator==(const PayrollRow&, const PayrollRow&) = default;
};

// One line of the monthly attendance sheet: a day row with its staff name and month summary.
struct ReportRow {
    QString staffCd;
    QString staffNm;
    QString syoriDt;
    QDate kikanSt;
    QDate kikanEn;
    QDate kintaiDt;
    QString syukinKb;
    QString syukin;
    QString taisya;
    double kihon1_g = 0; // month totals from the summary
    double kihon2_g = 0;
    double kihon3_g = 0;
    double kihon4_g = 0;
    double kihon1 = 0; // the day's hours
    double kihon2 = 0;
    double kihon3 = 0;
    double kihon4 = 0;

    friend bool operator==(const ReportRow&, const ReportRow&) = default;
};
