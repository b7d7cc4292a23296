#include "LegalStore.h"

#include "Database.h"

#include <QVariant>

#include <map>

namespace {

// The settings' rows of CMSETTEIMST, one a value.
const QString kPrefix = QStringLiteral("houtei.");

std::map<QString, int> settingValues(const LegalSettings& s)
{
    const AgreementRules& a = s.agreement;
    return {{QStringLiteral("enabled"), s.enabled},
            {QStringLiteral("weekStart"), int(s.rules.weekStart)},
            {QStringLiteral("legalHoliday"), s.rules.legalHoliday ? int(*s.rules.legalHoliday) : 0},
            {QStringLiteral("breakRule"), int(s.rules.breakRule)},
            {QStringLiteral("firstMonth"), a.firstMonth},
            {QStringLiteral("monthlyLimit"), a.monthlyLimit},
            {QStringLiteral("yearlyLimit"), a.yearlyLimit},
            {QStringLiteral("specialClause"), a.specialClause},
            {QStringLiteral("specialYearlyLimit"), a.specialYearlyLimit},
            {QStringLiteral("monthlyCap"), a.monthlyCap},
            {QStringLiteral("averageCap"), a.averageCap},
            {QStringLiteral("monthsOverLimit"), a.monthsOverLimit}};
}

// A stored value, or the default where it is missing or out of its range.
int valueOr(const std::map<QString, QString>& stored, const QString& name, int fallback, int low,
            int high)
{
    const auto found = stored.find(name);
    if (found == stored.end())
        return fallback;
    bool number = false;
    const int value = found->second.toInt(&number);
    return number && value >= low && value <= high ? value : fallback;
}

} // namespace

LegalSettings loadLegalSettings(Database& db)
{
    Rows rows = db.query(
        QStringLiteral("SELECT setteiCd, setteiVal FROM CMSETTEIMST WHERE setteiCd LIKE ?"),
        {kPrefix + u'%'});
    std::map<QString, QString> stored;
    while (rows.next())
        stored[rows.text(0).mid(kPrefix.size())] = rows.text(1);
    LegalSettings s;
    AgreementRules& a = s.agreement;
    const auto value = [&](const char* name, int fallback, int low, int high) {
        return valueOr(stored, QLatin1String(name), fallback, low, high);
    };
    constexpr int kYear = 366 * 24 * 60;
    s.enabled = value("enabled", 0, 0, 1) == 1;
    s.rules.weekStart = Qt::DayOfWeek(value("weekStart", int(s.rules.weekStart), 1, 7));
    const int holiday = value("legalHoliday", int(Qt::Sunday), 0, 7);
    s.rules.legalHoliday =
        holiday == 0 ? std::nullopt : std::optional<Qt::DayOfWeek>(Qt::DayOfWeek(holiday));
    s.rules.breakRule = BreakRule(value("breakRule", 0, 0, 1));
    a.firstMonth = value("firstMonth", a.firstMonth, 1, 12);
    a.monthlyLimit = value("monthlyLimit", a.monthlyLimit, 0, kYear);
    a.yearlyLimit = value("yearlyLimit", a.yearlyLimit, 0, kYear);
    a.specialClause = value("specialClause", 0, 0, 1) == 1;
    a.specialYearlyLimit = value("specialYearlyLimit", a.specialYearlyLimit, 0, kYear);
    a.monthlyCap = value("monthlyCap", a.monthlyCap, 0, kYear);
    a.averageCap = value("averageCap", a.averageCap, 0, kYear);
    a.monthsOverLimit = value("monthsOverLimit", a.monthsOverLimit, 0, 12);
    return s;
}

void saveLegalSettings(Database& db, const LegalSettings& settings)
{
    Transaction unit(db);
    for (const auto& [name, value] : settingValues(settings)) {
        db.execute(
            QStringLiteral("INSERT INTO CMSETTEIMST (setteiCd, setteiVal) VALUES (?, ?) "
                           "ON CONFLICT (setteiCd) DO UPDATE SET setteiVal = excluded.setteiVal"),
            {kPrefix + name, QString::number(value)});
    }
    unit.commit();
}

void saveLegalMonth(Database& db, const QString& staffCd, const StoredLegalMonth& month)
{
    const LegalMonth& f = month.figures;
    db.execute(QStringLiteral("INSERT INTO KYHOUTEIJL (staffCd, syoriDt, kinmu, hounai, hougai, "
                              "hougai60, kyujitu, sinya, keisanKey) VALUES (?, ?, ?, ?, ?, ?, ?, "
                              "?, ?) ON CONFLICT (staffCd, syoriDt) DO UPDATE SET "
                              "kinmu = excluded.kinmu, hounai = excluded.hounai, "
                              "hougai = excluded.hougai, hougai60 = excluded.hougai60, "
                              "kyujitu = excluded.kyujitu, sinya = excluded.sinya, "
                              "keisanKey = excluded.keisanKey"),
               {staffCd, month.syoriDt, f.worked, f.withinLegal, f.overtime, f.overtimeOver60,
                f.legalHoliday, f.night, month.rulesKey});
}

std::vector<StoredLegalMonth> loadLegalMonths(Database& db, const QString& staffCd,
                                              const QString& fromMonth, const QString& toMonth)
{
    Rows rows = db.query(QStringLiteral("SELECT syoriDt, kinmu, hounai, hougai, hougai60, "
                                        "kyujitu, sinya, keisanKey FROM KYHOUTEIJL "
                                        "WHERE staffCd = ? AND syoriDt >= ? AND syoriDt <= ? "
                                        "ORDER BY syoriDt"),
                         {staffCd, fromMonth, toMonth});
    std::vector<StoredLegalMonth> months;
    while (rows.next()) {
        const auto number = [&rows](int column) { return rows.value(column).toInt(); };
        months.push_back({rows.text(0),
                          {number(1), number(2), number(3), number(4), number(5), number(6)},
                          rows.text(7)});
    }
    return months;
}

std::vector<LegalDay> loadLegalDays(Database& db, const QString& staffCd, const QDate& from,
                                    const QDate& to)
{
    // The months that can hold the days: a period starts at most 30 days before its month.
    Rows rows = db.query(QStringLiteral("SELECT kintaiDt, syukin, taisya FROM KYTIMESHEETJL "
                                        "WHERE staffCd = ? AND syoriDt >= ? AND syoriDt <= ? "
                                        "AND kintaiDt >= ? AND kintaiDt <= ? "
                                        "ORDER BY kintaiDt, syoriDt"),
                         {staffCd, from.addMonths(-1).toString(QStringLiteral("yyyyMM")),
                          to.addMonths(1).toString(QStringLiteral("yyyyMM")), from, to});
    std::vector<LegalDay> days;
    while (rows.next()) {
        LegalDay day{rows.date(0), rows.text(1), rows.text(2)};
        if (!days.empty() && days.back().date == day.date)
            days.back() = day;
        else
            days.push_back(day);
    }
    return days;
}

std::vector<StoredPeriod> loadPeriods(Database& db, const QString& staffCd,
                                      const QString& fromMonth, const QString& toMonth)
{
    Rows rows = db.query(QStringLiteral("SELECT syoriDt, kikanSt, kikanEn FROM KYKINTAISYUKEIJL "
                                        "WHERE staffCd = ? AND syoriDt >= ? AND syoriDt <= ? "
                                        "ORDER BY syoriDt"),
                         {staffCd, fromMonth, toMonth});
    std::vector<StoredPeriod> periods;
    while (rows.next())
        periods.push_back({rows.text(0), rows.date(1), rows.date(2)});
    return periods;
}

std::vector<StoredLayout> loadPayrollLayouts(Database& db)
{
    Rows rows =
        db.query(QStringLiteral("SELECT layoutNm, layoutVal FROM CMKYUYOLAYOUT ORDER BY layoutNm"));
    std::vector<StoredLayout> layouts;
    while (rows.next())
        layouts.push_back({rows.text(0), rows.text(1)});
    return layouts;
}

void savePayrollLayout(Database& db, const StoredLayout& layout)
{
    db.execute(
        QStringLiteral("INSERT INTO CMKYUYOLAYOUT (layoutNm, layoutVal) VALUES (?, ?) "
                       "ON CONFLICT (layoutNm) DO UPDATE SET layoutVal = excluded.layoutVal"),
        {layout.name, layout.text});
}

void deletePayrollLayout(Database& db, const QString& name)
{
    db.execute(QStringLiteral("DELETE FROM CMKYUYOLAYOUT WHERE layoutNm = ?"), {name});
}
