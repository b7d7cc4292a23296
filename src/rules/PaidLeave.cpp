#include "PaidLeave.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace {

// Days granted by the years of service at the grant date: 6 months, 1 year 6 months, … and 6
// years 6 months or more. Full time first, then by the days worked a week, 4 down to 1.
constexpr std::array<int, 7> kFullTimeDays = {10, 11, 12, 14, 16, 18, 20};
constexpr std::array<std::array<int, 7>, 4> kProportionalDays = {{
    {1, 2, 2, 2, 3, 3, 3},
    {3, 4, 4, 5, 6, 6, 7},
    {5, 6, 6, 8, 9, 10, 11},
    {7, 8, 9, 10, 12, 13, 15},
}};
constexpr int kFirstGrantMonths = 6;
constexpr double kFullTimeWeeklyHours = 30;
constexpr int kFullTimeWeeklyDays = 5;
constexpr int kGoodForYears = 2;
constexpr double kDutyDays = 5;

// The days a class counts in the period before a grant.
bool isScheduled(DayClass dayClass)
{
    switch (dayClass) {
    case DayClass::Normal:
    case DayClass::PaidLeave:
    case DayClass::MorningLeave:
    case DayClass::AfternoonLeave:
    case DayClass::Absence:
    case DayClass::SpecialLeave:
        return true;
    default:
        return false;
    }
}

// A grant's days as they are used up, oldest first.
struct Lot {
    QDate lapsesOn;
    double left = 0;
};

} // namespace

QString leaveDaysText(double days)
{
    return QString::number(days, 'f', days == std::floor(days) ? 0 : 1);
}

int AnnualLeaveDays(int serviceMonths, int weeklyDays, double weeklyHours)
{
    if (serviceMonths < kFirstGrantMonths || (serviceMonths - kFirstGrantMonths) % 12 != 0 ||
        weeklyDays <= 0)
        return 0;
    const size_t step = std::min<size_t>((serviceMonths - kFirstGrantMonths) / 12, 6);
    if (weeklyHours >= kFullTimeWeeklyHours || weeklyDays >= kFullTimeWeeklyDays)
        return kFullTimeDays[step];
    return kProportionalDays[size_t(weeklyDays - 1)][step];
}

Attendance countAttendance(std::span<const ClassDay> days, const QDate& from, const QDate& to)
{
    Attendance attendance;
    auto day = std::lower_bound(days.begin(), days.end(), from,
                                [](const ClassDay& d, const QDate& date) { return d.date < date; });
    qint64 stored = 0;
    for (; day != days.end() && day->date <= to; ++day) {
        ++stored;
        const std::optional<DayClass> dayClass = readDayClass(day->syukinKb);
        if (!dayClass || !isScheduled(*dayClass))
            continue;
        ++attendance.scheduled;
        if (*dayClass != DayClass::Absence)
            ++attendance.attended;
    }
    attendance.wholeOnFile = from <= to && stored == from.daysTo(to) + 1;
    return attendance;
}

std::vector<GrantDate> grantDates(const QDate& hireDate, const QDate& upTo)
{
    std::vector<GrantDate> dates;
    if (!hireDate.isValid())
        return dates;
    for (int months = kFirstGrantMonths;; months += 12) {
        const QDate date = hireDate.addMonths(months);
        if (date > upTo)
            break;
        dates.push_back({date, months});
    }
    return dates;
}

LeaveLedger buildLeaveLedger(const MemberConditions& conditions, std::span<const ClassDay> days,
                             std::span<const LeaveGrantRecord> grants, const QDate& asOf)
{
    LeaveLedger ledger;
    std::map<QDate, bool> decided; // the clerk's word on unrecorded grants
    QDate newestOpening;
    for (const LeaveGrantRecord& grant : grants) {
        if (grant.fuyoDt > asOf)
            continue;
        if (grant.kind == LeaveGrantRecord::Kind::Opening) {
            LeaveYear year;
            year.kijunDt = grant.fuyoDt;
            year.basis = LeaveYear::Basis::Opening;
            year.granted = grant.fuyoNissu;
            year.openingLeft = grant.zanNissu;
            year.takenTowardDuty = std::max(0.0, grant.fuyoNissu - grant.zanNissu);
            ledger.years.push_back(year);
            newestOpening = std::max(newestOpening, grant.fuyoDt);
        } else {
            decided[grant.fuyoDt] = grant.kind == LeaveGrantRecord::Kind::Confirmed;
        }
    }
    const QDate lastGrantDay =
        conditions.taisyokuDt.isValid() ? std::min(asOf, conditions.taisyokuDt) : asOf;
    QDate periodStart = conditions.nyusyaDt;
    for (const GrantDate& law : grantDates(conditions.nyusyaDt, lastGrantDay)) {
        const QDate from = std::exchange(periodStart, law.date);
        if (newestOpening.isValid() && law.date <= newestOpening)
            continue;
        LeaveYear year;
        year.kijunDt = law.date;
        year.attendance = countAttendance(days, from, law.date.addDays(-1));
        bool granted = year.attendance.meetsEightyPercent();
        if (!year.attendance.wholeOnFile) {
            year.unrecorded = true;
            const auto word = decided.find(law.date);
            year.confirmed = word != decided.end();
            granted = !year.confirmed || word->second;
        }
        year.basis = granted ? LeaveYear::Basis::Law : LeaveYear::Basis::Refused;
        year.granted =
            granted ? AnnualLeaveDays(law.serviceMonths, conditions.syuNissu, conditions.syuJikan)
                    : 0;
        ledger.years.push_back(year);
    }
    std::sort(ledger.years.begin(), ledger.years.end(),
              [](const LeaveYear& a, const LeaveYear& b) { return a.kijunDt < b.kijunDt; });
    for (size_t i = 0; i < ledger.years.size(); ++i) {
        LeaveYear& year = ledger.years[i];
        year.lastDay =
            i + 1 < ledger.years.size() ? ledger.years[i + 1].kijunDt.addDays(-1) : year.dueDate();
    }

    // The days taken, in date order, up to the ledger's day.
    std::vector<LeaveTaken> taken;
    for (const ClassDay& day : days) {
        if (day.date > asOf)
            break;
        const std::optional<DayClass> dayClass = readDayClass(day.syukinKb);
        if (dayClass && paidLeaveDays(*dayClass) > 0)
            taken.push_back({day.date, paidLeaveDays(*dayClass)});
    }

    // One sweep over the days on which something happens: lapses first, then grants, then use.
    std::set<QDate> moments;
    for (const LeaveYear& year : ledger.years)
        moments.insert(year.kijunDt);
    for (const LeaveTaken& day : taken)
        moments.insert(day.date);
    std::vector<Lot> lots; // by grant date, oldest first
    double owed = 0;       // taken beyond what was granted, paid from the next grant
    const auto balance = [&] {
        double left = -owed;
        for (const Lot& lot : lots)
            left += lot.left;
        return left;
    };
    const auto yearOf = [&](const QDate& date) -> LeaveYear* {
        LeaveYear* found = nullptr;
        for (LeaveYear& year : ledger.years) {
            if (year.kijunDt <= date)
                found = &year;
        }
        return found;
    };
    size_t nextYear = 0;
    size_t closedYears = 0; // the years whose balance is set: their last day is behind
    auto nextTaken = taken.cbegin();
    for (auto moment = moments.begin(); moment != moments.end() && *moment <= asOf; ++moment) {
        const QDate date = *moment;
        for (; closedYears < ledger.years.size() && ledger.years[closedYears].lastDay < date;
             ++closedYears)
            ledger.years[closedYears].balance = balance();
        for (Lot& lot : lots) {
            if (lot.left > 0 && lot.lapsesOn <= date) {
                if (LeaveYear* year = yearOf(date))
                    year->lapsed += lot.left;
                lot.left = 0;
            }
        }
        for (; nextYear < ledger.years.size() && ledger.years[nextYear].kijunDt == date;
             ++nextYear) {
            LeaveYear& year = ledger.years[nextYear];
            year.carriedOver = balance();
            if (year.basis == LeaveYear::Basis::Refused)
                continue;
            Lot lot{date.addYears(kGoodForYears),
                    year.basis == LeaveYear::Basis::Opening ? year.openingLeft : year.granted};
            const double paid = std::min(owed, lot.left);
            lot.left -= paid;
            owed -= paid;
            lots.push_back(lot);
            moments.insert(lot.lapsesOn);
        }
        for (; nextTaken != taken.cend() && nextTaken->date == date; ++nextTaken) {
            double due = nextTaken->days;
            for (Lot& lot : lots) {
                const double use = std::min(due, lot.left);
                lot.left -= use;
                due -= use;
            }
            owed += due;
        }
    }
    ledger.balance = balance();
    for (; closedYears < ledger.years.size(); ++closedYears)
        ledger.years[closedYears].balance = ledger.balance;
    for (LeaveYear& year : ledger.years) {
        for (const LeaveTaken& day : taken) {
            if (day.date >= year.kijunDt && day.date <= year.lastDay) {
                year.taken.push_back(day);
                year.takenDays += day.days;
            }
            if (day.date >= year.kijunDt && day.date <= year.dueDate())
                year.takenTowardDuty += day.days;
        }
    }
    return ledger;
}

std::vector<FiveDayDuty> fiveDayDuties(const LeaveLedger& ledger, const QDate& today,
                                       int warningMonths)
{
    std::vector<FiveDayDuty> duties;
    for (const LeaveYear& year : ledger.years) {
        if (!year.hasFiveDayDuty() || year.kijunDt > today ||
            year.kijunDt.addYears(kGoodForYears) <= today)
            continue;
        FiveDayDuty duty{year.kijunDt, year.dueDate(), year.takenTowardDuty,
                         std::max(0.0, kDutyDays - year.takenTowardDuty)};
        if (duty.needed == 0)
            duty.mark = FiveDayDuty::Mark::Done;
        else if (today > duty.dueDate)
            duty.mark = FiveDayDuty::Mark::Overdue;
        else if (duty.dueDate <= today.addMonths(warningMonths))
            duty.mark = FiveDayDuty::Mark::DueSoon;
        duties.push_back(duty);
    }
    return duties;
}
