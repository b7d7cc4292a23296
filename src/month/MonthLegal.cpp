#include "MonthLegal.h"

#include "Database.h"
#include "LeaveStore.h"
#include "LegalStore.h"
#include "StaffStore.h"

#include <map>

namespace {

// How far back the agreement looks: its year so far and the runs of up to 6 months.
constexpr int kMonthsBefore = 11;

QDate monthStart(const QString& syoriDt)
{
    return QDate::fromString(syoriDt + QLatin1String("01"), QStringLiteral("yyyyMMdd"));
}

QString monthText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyyMM"));
}

std::vector<LegalDay> legalDays(std::span<const DayRow> rows)
{
    std::vector<LegalDay> days;
    days.reserve(rows.size());
    for (const DayRow& row : rows)
        days.push_back({row.kintaiDt, row.syukin, row.taisya});
    return days;
}

} // namespace

QString minutesText(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString agreementStateText(AgreementState state)
{
    switch (state) {
    case AgreementState::Ok:
        break;
    case AgreementState::Caution:
        return QStringLiteral("注意");
    case AgreementState::Warning:
        return QStringLiteral("警告");
    case AgreementState::Over:
        return QStringLiteral("超過");
    }
    return QStringLiteral("正常");
}

LegalMonth legalMonthOf(Database& db, const QString& staffCd, const QDate& kikanSt,
                        const QDate& kikanEn, const LegalRules& rules)
{
    const QDate weekStart = weekStartOf(kikanSt, rules.weekStart);
    const std::vector<LegalDay> days = loadLegalDays(db, staffCd, weekStart, kikanEn);
    const auto first = std::find_if(days.begin(), days.end(),
                                    [&](const LegalDay& d) { return d.date >= kikanSt; });
    return CalcLegalMonth({days.begin(), first}, {first, days.end()}, rules);
}

LegalMonth monthFigures(Database& db, const QString& staffCd, const QString& syoriDt,
                        const QDate& kikanSt, const QDate& kikanEn, const LegalSettings& settings)
{
    for (const StoredLegalMonth& m : loadLegalMonths(db, staffCd, syoriDt, syoriDt)) {
        if (m.rulesKey == settings.rulesKey())
            return m.figures;
    }
    return legalMonthOf(db, staffCd, kikanSt, kikanEn, settings.rules);
}

std::vector<AgreementMonth> agreementMonths(Database& db, const QString& staffCd,
                                            const QString& fromMonth, const QString& toMonth,
                                            const LegalSettings& settings,
                                            std::vector<StoredLegalMonth>* made)
{
    std::map<QString, LegalMonth> figures;
    for (const StoredLegalMonth& m : loadLegalMonths(db, staffCd, fromMonth, toMonth)) {
        if (m.rulesKey == settings.rulesKey())
            figures[m.syoriDt] = m.figures;
    }
    for (const StoredPeriod& p : loadPeriods(db, staffCd, fromMonth, toMonth)) {
        if (figures.contains(p.syoriDt))
            continue;
        figures[p.syoriDt] = legalMonthOf(db, staffCd, p.kikanSt, p.kikanEn, settings.rules);
        if (made)
            made->push_back({p.syoriDt, figures[p.syoriDt], settings.rulesKey()});
    }
    std::vector<AgreementMonth> months;
    for (QDate month = monthStart(fromMonth); month.isValid() && monthText(month) <= toMonth;
         month = month.addMonths(1)) {
        const LegalMonth f = figures[monthText(month)];
        months.push_back({month.year(), month.month(), f.overtime, f.legalHoliday});
    }
    return months;
}

void MonthLegal::load(Database& db, const MonthHeader& h)
{
    m_settings = loadLegalSettings(db);
    m_syoriDt = h.syoriDt;
    m_earlier.clear();
    m_before.clear();
    if (!m_settings.enabled || h.staffCd.isEmpty() || !h.kikanSt.isValid())
        return;
    const QDate weekStart = weekStartOf(h.kikanSt, m_settings.rules.weekStart);
    if (weekStart < h.kikanSt)
        m_earlier = loadLegalDays(db, h.staffCd, weekStart, h.kikanSt.addDays(-1));
    const QDate month = monthStart(h.syoriDt);
    if (month.isValid()) {
        m_before = agreementMonths(db, h.staffCd, monthText(month.addMonths(-kMonthsBefore)),
                                   monthText(month.addMonths(-1)), m_settings);
    }
}

LegalMonth MonthLegal::figures(std::span<const DayRow> rows) const
{
    return CalcLegalMonth(m_earlier, legalDays(rows), m_settings.rules);
}

AgreementCheck MonthLegal::check(const LegalMonth& month) const
{
    const QDate start = monthStart(m_syoriDt);
    if (!start.isValid())
        return {};
    std::vector<AgreementMonth> months = m_before;
    months.push_back({start.year(), start.month(), month.overtime, month.legalHoliday});
    return checkAgreement(months, m_settings.agreement);
}

StoredLegalMonth MonthLegal::stored(std::span<const DayRow> rows) const
{
    return {m_syoriDt, figures(rows), m_settings.rulesKey()};
}

int agreementYearOf(const QDate& day, const AgreementRules& rules)
{
    return day.month() >= rules.firstMonth ? day.year() : day.year() - 1;
}

std::vector<MonitorRow> loadAgreementMonitor(Database& db, int firstYear,
                                             const LegalSettings& settings)
{
    // The runs of up to 6 months that end in the year's first month start 5 months before it.
    constexpr int kRunBefore = 5;
    const QDate yearStart(firstYear, settings.agreement.firstMonth, 1);
    const QString from = monthText(yearStart.addMonths(-kRunBefore));
    const QString to = monthText(yearStart.addMonths(11));
    Snapshot read(db);
    std::map<QString, QString> names;
    for (const StaffRecord& member : ListStaff(db, QString(), StaffField::staffCd))
        names[member.staffCd] = member.staffNm;
    std::vector<MonitorRow> rows;
    std::map<QString, std::vector<StoredLegalMonth>> made;
    for (const MemberConditions& conditions : loadAllConditions(db)) {
        if (conditions.leftBefore(yearStart))
            continue;
        const std::vector<AgreementMonth> months =
            agreementMonths(db, conditions.staffCd, from, to, settings,
                            settings.enabled ? &made[conditions.staffCd] : nullptr);
        MonitorRow row{conditions.staffCd, names[conditions.staffCd], {}, {}, 0, 0, 0};
        for (size_t i = kRunBefore; i < months.size(); ++i) {
            const std::span<const AgreementMonth> upTo(months.data(), i + 1);
            row.months.push_back(months[i]);
            row.checks.push_back(checkAgreement(upTo, settings.agreement));
            row.yearOvertime += months[i].overtime;
            row.monthsOver += months[i].overtime > settings.agreement.monthlyLimit;
        }
        row.worstAverage = worstAverage(months, kRunBefore);
        rows.push_back(row);
    }
    read.end();
    Transaction store(db);
    for (const auto& [staffCd, months] : made) {
        for (const StoredLegalMonth& month : months)
            saveLegalMonth(db, staffCd, month);
    }
    store.commit();
    return rows;
}
