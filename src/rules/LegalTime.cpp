#include "LegalTime.h"

#include "WorkTime.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kDayLimit = 8 * 60;
constexpr int kWeekLimit = 40 * 60;
constexpr int kOver60 = 60 * 60;
constexpr int kCautionPercent = 70;
constexpr int kWarningPercent = 90;

int breakMinutes(int span, BreakRule rule)
{
    if (rule == BreakRule::OneHour)
        return span > 60 ? 60 : 0;
    if (span <= 6 * 60)
        return 0;
    return span <= 8 * 60 + 45 ? 45 : 60;
}

bool hasTimes(const LegalDay& day)
{
    return !day.syukin.isEmpty() && !day.taisya.isEmpty();
}

// The running sums of a week, reset when a day of another week comes.
class WeekCount {
public:
    explicit WeekCount(const LegalRules& rules)
        : m_rules(rules)
    {
    }

    struct Split {
        int worked = 0, within = 0, overtime = 0, legalHoliday = 0, night = 0;
    };

    Split take(const LegalDay& day)
    {
        Split split;
        if (!hasTimes(day))
            return split;
        const QDate start = weekStartOf(day.date, m_rules.weekStart);
        if (start != m_week) {
            m_week = start;
            m_within = 0;
        }
        const SpanMinutes span = daySpan({day.syukin, day.taisya});
        split.worked = span.span - breakMinutes(span.span, m_rules.breakRule);
        split.night = span.night;
        if (m_rules.legalHoliday && day.date.dayOfWeek() == *m_rules.legalHoliday) {
            split.legalHoliday = split.worked;
            return split;
        }
        const int daily = std::max(0, split.worked - kDayLimit);
        const int rest = split.worked - daily;
        const int weekly = std::max(0, m_within + rest - kWeekLimit);
        split.within = rest - weekly;
        split.overtime = daily + weekly;
        m_within += split.within;
        return split;
    }

private:
    const LegalRules& m_rules;
    QDate m_week;
    int m_within = 0;
};

// A limit's state for a value: the percent of the limit it reaches, over past it (or at it).
AgreementCheck against(int value, int limit, const QString& rule, bool overAtLimit = false)
{
    AgreementCheck check;
    if (limit <= 0)
        return check;
    check.percent = int(qint64(value) * 100 / limit);
    check.rule = rule;
    if (value > limit || (overAtLimit && value >= limit))
        check.state = AgreementState::Over;
    else if (check.percent >= kWarningPercent)
        check.state = AgreementState::Warning;
    else if (check.percent >= kCautionPercent)
        check.state = AgreementState::Caution;
    else
        check.rule.clear();
    return check;
}

QString hoursText(int minutes)
{
    return QStringLiteral("%1時間").arg(minutes / 60);
}

} // namespace

QDate weekStartOf(const QDate& day, Qt::DayOfWeek weekStart)
{
    return day.addDays(-((day.dayOfWeek() - int(weekStart) + 7) % 7));
}

LegalMonth CalcLegalMonth(std::span<const LegalDay> earlierDaysOfFirstWeek,
                          std::span<const LegalDay> periodDays, const LegalRules& rules)
{
    WeekCount week(rules);
    for (const LegalDay& day : earlierDaysOfFirstWeek)
        week.take(day);
    LegalMonth month;
    for (const LegalDay& day : periodDays) {
        const WeekCount::Split split = week.take(day);
        month.worked += split.worked;
        month.withinLegal += split.within;
        month.legalHoliday += split.legalHoliday;
        month.night += split.night;
        const int before = month.overtime;
        month.overtime += split.overtime;
        month.overtimeOver60 += std::max(0, month.overtime - std::max(before, kOver60));
    }
    return month;
}

int worstAverage(std::span<const AgreementMonth> months, size_t firstEnd)
{
    int worst = 0;
    for (size_t last = std::max<size_t>(firstEnd, 1); last < months.size(); ++last) {
        int sum = months[last].overtime + months[last].legalHoliday;
        for (size_t length = 2; length <= 6 && length <= last + 1; ++length) {
            const AgreementMonth& m = months[last + 1 - length];
            sum += m.overtime + m.legalHoliday;
            worst = std::max(worst, int((sum + int(length) - 1) / int(length)));
        }
    }
    return worst;
}

AgreementCheck checkAgreement(std::span<const AgreementMonth> months, const AgreementRules& rules)
{
    if (months.empty())
        return {};
    const AgreementMonth& now = months.back();
    // The months of the agreement year so far.
    const int yearStart = now.month >= rules.firstMonth ? now.year : now.year - 1;
    int yearOvertime = 0;
    int monthsOver = 0;
    for (const AgreementMonth& m : months) {
        const bool inYear = m.year * 12 + m.month >= yearStart * 12 + rules.firstMonth;
        if (!inYear)
            continue;
        yearOvertime += m.overtime;
        monthsOver += m.overtime > rules.monthlyLimit;
    }
    std::vector<AgreementCheck> checks;
    if (!rules.specialClause) {
        checks.push_back(against(now.overtime, rules.monthlyLimit,
                                 QStringLiteral("月%1").arg(hoursText(rules.monthlyLimit))));
        checks.push_back(against(yearOvertime, rules.yearlyLimit,
                                 QStringLiteral("年%1").arg(hoursText(rules.yearlyLimit))));
    } else {
        checks.push_back(against(yearOvertime, rules.specialYearlyLimit,
                                 QStringLiteral("年%1").arg(hoursText(rules.specialYearlyLimit))));
        checks.push_back(against(
            now.overtime + now.legalHoliday, rules.monthlyCap,
            QStringLiteral("月%1未満（休日労働含む）").arg(hoursText(rules.monthlyCap)), true));
        // Every run of 2 to 6 months that ends with this one, its sum against the average cap.
        int sum = now.overtime + now.legalHoliday;
        for (size_t length = 2; length <= 6 && length <= months.size(); ++length) {
            const AgreementMonth& m = months[months.size() - length];
            sum += m.overtime + m.legalHoliday;
            checks.push_back(against(
                sum, rules.averageCap * int(length),
                QStringLiteral("%1か月平均%2以内").arg(length).arg(hoursText(rules.averageCap))));
        }
        checks.push_back(against(monthsOver, rules.monthsOverLimit,
                                 QStringLiteral("月%1超は年%2回まで")
                                     .arg(hoursText(rules.monthlyLimit))
                                     .arg(rules.monthsOverLimit)));
    }
    AgreementCheck worst;
    for (const AgreementCheck& check : checks) {
        if (check.state > worst.state ||
            (check.state == worst.state && check.state != AgreementState::Ok &&
             check.percent > worst.percent))
            worst = check;
    }
    return worst;
}
