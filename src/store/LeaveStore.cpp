#include "LeaveStore.h"

#include "Database.h"
#include "StoreError.h"

#include <QVariant>

namespace {

// Optional dates are stored as empty text.
QVariant optionalDate(const QDate& day)
{
    return day.isValid() ? QVariant(dateText(day)) : QVariant(QString());
}

QDate readOptionalDate(const Rows& rows, int column)
{
    return rows.text(column).isEmpty() ? QDate() : rows.date(column);
}

const QString kConditionColumns =
    QStringLiteral("m.staffCd, j.nyusyaDt, j.taisyokuDt, j.syuNissu, j.syuJikan, j.hiJikan");

MemberConditions readConditions(const Rows& rows)
{
    MemberConditions conditions;
    conditions.staffCd = rows.text(0);
    if (rows.value(3).isNull())
        return conditions; // saved without conditions: the defaults
    conditions.nyusyaDt = readOptionalDate(rows, 1);
    conditions.taisyokuDt = readOptionalDate(rows, 2);
    conditions.syuNissu = rows.value(3).toInt();
    conditions.syuJikan = rows.real(4);
    conditions.hiJikan = rows.real(5);
    return conditions;
}

QString grantKindCode(LeaveGrantRecord::Kind kind)
{
    switch (kind) {
    case LeaveGrantRecord::Kind::Opening:
        return QStringLiteral("K");
    case LeaveGrantRecord::Kind::Confirmed:
        return QStringLiteral("F");
    case LeaveGrantRecord::Kind::Refused:
        break;
    }
    return QStringLiteral("N");
}

LeaveGrantRecord::Kind grantKind(const QString& code)
{
    if (code == QLatin1String("K"))
        return LeaveGrantRecord::Kind::Opening;
    if (code == QLatin1String("F"))
        return LeaveGrantRecord::Kind::Confirmed;
    return LeaveGrantRecord::Kind::Refused;
}

const QString kDutyWarningMonths = QStringLiteral("yukyuKeikokuTuki");
constexpr int kDefaultDutyWarningMonths = 3;

} // namespace

MemberConditions loadConditions(Database& db, const QString& staffCd)
{
    Rows rows = db.query(QStringLiteral("SELECT ") + kConditionColumns +
                             QStringLiteral(" FROM (SELECT CAST(? AS TEXT) AS staffCd) AS m "
                                            "LEFT JOIN CMSTAFFJOUKENMST AS j "
                                            "ON j.staffCd = m.staffCd"),
                         {staffCd});
    rows.next();
    return readConditions(rows);
}

std::vector<MemberConditions> loadAllConditions(Database& db)
{
    Rows rows = db.query(QStringLiteral("SELECT ") + kConditionColumns +
                         QStringLiteral(" FROM CMSTAFFKIHONMST AS m "
                                        "LEFT JOIN CMSTAFFJOUKENMST AS j ON j.staffCd = m.staffCd "
                                        "ORDER BY m.staffCd"));
    std::vector<MemberConditions> all;
    while (rows.next())
        all.push_back(readConditions(rows));
    return all;
}

void saveConditions(Database& db, const MemberConditions& c)
{
    db.execute(QStringLiteral("INSERT INTO CMSTAFFJOUKENMST "
                              "(staffCd, nyusyaDt, taisyokuDt, syuNissu, syuJikan, hiJikan) "
                              "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (staffCd) DO UPDATE SET "
                              "nyusyaDt = excluded.nyusyaDt, taisyokuDt = excluded.taisyokuDt, "
                              "syuNissu = excluded.syuNissu, syuJikan = excluded.syuJikan, "
                              "hiJikan = excluded.hiJikan"),
               {c.staffCd, optionalDate(c.nyusyaDt), optionalDate(c.taisyokuDt), c.syuNissu,
                c.syuJikan, c.hiJikan});
}

std::vector<LeaveGrantRecord> loadLeaveGrants(Database& db, const QString& staffCd)
{
    Rows rows = db.query(QStringLiteral("SELECT fuyoDt, fuyoKb, fuyoNissu, zanNissu "
                                        "FROM KYYUKYUFUYOJL WHERE staffCd = ? ORDER BY fuyoDt"),
                         {staffCd});
    std::vector<LeaveGrantRecord> grants;
    while (rows.next())
        grants.push_back({rows.date(0), grantKind(rows.text(1)), rows.real(2), rows.real(3)});
    return grants;
}

void saveLeaveGrant(Database& db, const QString& staffCd, const LeaveGrantRecord& grant)
{
    db.execute(QStringLiteral("INSERT INTO KYYUKYUFUYOJL "
                              "(staffCd, fuyoDt, fuyoKb, fuyoNissu, zanNissu) "
                              "VALUES (?, ?, ?, ?, ?) ON CONFLICT (staffCd, fuyoDt) DO UPDATE SET "
                              "fuyoKb = excluded.fuyoKb, fuyoNissu = excluded.fuyoNissu, "
                              "zanNissu = excluded.zanNissu"),
               {staffCd, grant.fuyoDt, grantKindCode(grant.kind), grant.fuyoNissu, grant.zanNissu});
}

void removeLeaveGrant(Database& db, const QString& staffCd, const QDate& fuyoDt)
{
    db.execute(QStringLiteral("DELETE FROM KYYUKYUFUYOJL WHERE staffCd = ? AND fuyoDt = ?"),
               {staffCd, fuyoDt});
}

std::vector<ClassDay> loadClassDays(Database& db, const QString& staffCd, const QDate& from,
                                    const QDate& to)
{
    // The months that can hold the days: a period starts at most 30 days before its month.
    const QString firstMonth = from.addMonths(-1).toString(QStringLiteral("yyyyMM"));
    const QString lastMonth = to.addMonths(1).toString(QStringLiteral("yyyyMM"));
    Rows rows = db.query(QStringLiteral("SELECT kintaiDt, syukinKb FROM KYTIMESHEETJL "
                                        "WHERE staffCd = ? AND syoriDt >= ? AND syoriDt <= ? "
                                        "AND kintaiDt >= ? AND kintaiDt <= ? "
                                        "ORDER BY kintaiDt, syoriDt"),
                         {staffCd, firstMonth, lastMonth, from, to});
    std::vector<ClassDay> days;
    while (rows.next()) {
        ClassDay day{rows.date(0), rows.text(1)};
        if (!days.empty() && days.back().date == day.date)
            days.back() = day;
        else
            days.push_back(day);
    }
    return days;
}

LeaveInputs loadLeaveInputs(Database& db, const QString& staffCd, const QDate& upTo)
{
    Snapshot read(db);
    LeaveInputs inputs;
    inputs.conditions = loadConditions(db, staffCd);
    inputs.grants = loadLeaveGrants(db, staffCd);
    QDate from = inputs.conditions.nyusyaDt;
    for (const LeaveGrantRecord& grant : inputs.grants) {
        if (!from.isValid() || grant.fuyoDt < from)
            from = grant.fuyoDt;
    }
    if (from.isValid())
        inputs.days = loadClassDays(db, staffCd, from, upTo);
    read.end();
    return inputs;
}

int loadDutyWarningMonths(Database& db)
{
    Rows rows = db.query(QStringLiteral("SELECT setteiVal FROM CMSETTEIMST WHERE setteiCd = ?"),
                         {kDutyWarningMonths});
    bool number = false;
    const int months = rows.next() ? rows.text(0).toInt(&number) : 0;
    return number && months >= 0 ? months : kDefaultDutyWarningMonths;
}

void saveDutyWarningMonths(Database& db, int months)
{
    db.execute(
        QStringLiteral("INSERT INTO CMSETTEIMST (setteiCd, setteiVal) VALUES (?, ?) "
                       "ON CONFLICT (setteiCd) DO UPDATE SET setteiVal = excluded.setteiVal"),
        {kDutyWarningMonths, QString::number(months)});
}
