#include "MemberLeave.h"

#include "Database.h"
#include "MonthLog.h"
#include "StaffStore.h"

#include <QStringList>

namespace {

constexpr double kDutyDays = 5;

} // namespace

bool MemberLeave::load(Database& db, const QString& typedCode, const QDate& asOf)
{
    const std::optional<StaffRecord> member = findStaff(db, padStaffCode(typedCode));
    if (!member)
        return false;
    m_member = *member;
    m_asOf = asOf;
    reload(db);
    return true;
}

void MemberLeave::reload(Database& db)
{
    m_inputs = loadLeaveInputs(db, m_member.staffCd, m_asOf);
    m_ledger = buildLeaveLedger(m_inputs.conditions, m_inputs.days, m_inputs.grants, m_asOf);
}

void MemberLeave::record(Database& db, const QString& sousa, const QString& naiyou)
{
    addHistory(db, stampedHistoryEntry(m_member.staffCd, QString(), sousa, naiyou));
}

void MemberLeave::decideGrant(Database& db, const QDate& fuyoDt, bool granted)
{
    Transaction unit(db);
    saveLeaveGrant(db, m_member.staffCd,
                   {fuyoDt,
                    granted ? LeaveGrantRecord::Kind::Confirmed : LeaveGrantRecord::Kind::Refused,
                    0, 0});
    record(db, QStringLiteral("有給付与確認"),
           QStringLiteral("基準日 %1 記録なしの期間の付与: %2")
               .arg(slashDate(fuyoDt),
                    granted ? QStringLiteral("付与する") : QStringLiteral("付与しない")));
    unit.commit();
    reload(db);
}

QString MemberLeave::openingRefusal(const LeaveGrantRecord& opening) const
{
    if (!opening.fuyoDt.isValid())
        return QStringLiteral("基準日を入力してください。");
    if (opening.fuyoDt > m_asOf)
        return QStringLiteral("基準日は基準の日以前の日付を入力してください。");
    if (opening.fuyoNissu <= 0 || opening.fuyoNissu > 40)
        return QStringLiteral("付与日数は 0.5 から 40 の間で入力してください。");
    if (opening.zanNissu < 0 || opening.zanNissu > opening.fuyoNissu)
        return QStringLiteral("残日数は 0 から付与日数までで入力してください。");
    if (opening.fuyoNissu * 2 != int(opening.fuyoNissu * 2) ||
        opening.zanNissu * 2 != int(opening.zanNissu * 2))
        return QStringLiteral("日数は 0.5 日単位で入力してください。");
    return {};
}

void MemberLeave::saveOpening(Database& db, const LeaveGrantRecord& opening)
{
    Transaction unit(db);
    LeaveGrantRecord entered = opening;
    entered.kind = LeaveGrantRecord::Kind::Opening;
    saveLeaveGrant(db, m_member.staffCd, entered);
    record(db, QStringLiteral("有給繰越"),
           QStringLiteral("基準日 %1 付与 %2 日 残 %3 日")
               .arg(slashDate(entered.fuyoDt), leaveDaysText(entered.fuyoNissu),
                    leaveDaysText(entered.zanNissu)));
    unit.commit();
    reload(db);
}

void MemberLeave::removeEntry(Database& db, const QDate& fuyoDt)
{
    Transaction unit(db);
    removeLeaveGrant(db, m_member.staffCd, fuyoDt);
    record(db, QStringLiteral("有給付与取消"),
           QStringLiteral("基準日 %1 の入力を取り消し").arg(slashDate(fuyoDt)));
    unit.commit();
    reload(db);
}

std::vector<FiveDayRow> loadFiveDayList(Database& db, const QDate& today, int warningMonths)
{
    // A grant good today was made at most two years ago on the attendance of the year before it.
    const QDate from = today.addYears(-3).addDays(-1);
    Snapshot read(db);
    std::vector<FiveDayRow> list;
    const std::vector<StaffRecord> staff = ListStaff(db, QString(), StaffField::staffCd);
    std::map<QString, QString> names;
    for (const StaffRecord& member : staff)
        names[member.staffCd] = member.staffNm;
    for (const MemberConditions& conditions : loadAllConditions(db)) {
        if (!conditions.nyusyaDt.isValid() || conditions.leftBefore(today))
            continue;
        const std::vector<LeaveGrantRecord> grants = loadLeaveGrants(db, conditions.staffCd);
        const std::vector<ClassDay> days = loadClassDays(db, conditions.staffCd, from, today);
        const LeaveLedger ledger = buildLeaveLedger(conditions, days, grants, today);
        for (const FiveDayDuty& duty : fiveDayDuties(ledger, today, warningMonths))
            list.push_back({conditions.staffCd, names[conditions.staffCd], duty});
    }
    read.end();
    return list;
}

namespace {

QString takenDaysText(const LeaveYear& year, const std::function<QString(const QDate&)>& dateText)
{
    QStringList days;
    for (const LeaveTaken& day : year.taken)
        days << dateText(day.date) + (day.days < 1 ? QStringLiteral("(半)") : QString());
    return days.join(QStringLiteral(", "));
}

QString grantBasisText(const LeaveYear& year)
{
    QString basis;
    switch (year.basis) {
    case LeaveYear::Basis::Law:
        basis = QStringLiteral("法定");
        break;
    case LeaveYear::Basis::Opening:
        basis = QStringLiteral("繰越");
        break;
    case LeaveYear::Basis::Refused:
        basis = QStringLiteral("不付与");
        break;
    }
    if (year.unrecorded)
        basis += year.confirmed ? QStringLiteral("（記録なし・確認済）")
                                : QStringLiteral("（記録なし）");
    return basis;
}

QString fiveDayText(const LeaveYear& year, const std::function<QString(const QDate&)>& dateText)
{
    if (!year.hasFiveDayDuty())
        return {};
    if (year.takenTowardDuty >= kDutyDays)
        return QStringLiteral("達成");
    return QStringLiteral("あと %1 日（%2まで）")
        .arg(leaveDaysText(kDutyDays - year.takenTowardDuty), dateText(year.dueDate()));
}

} // namespace

QStringList ledgerColumns()
{
    return {QStringLiteral("基準日"),   QStringLiteral("区分"),   QStringLiteral("付与日数"),
            QStringLiteral("繰越日数"), QStringLiteral("取得日"), QStringLiteral("取得日数"),
            QStringLiteral("失効日数"), QStringLiteral("残日数"), QStringLiteral("年5日")};
}

std::vector<QStringList> ledgerRows(const LeaveLedger& ledger,
                                    const std::function<QString(const QDate&)>& dateText)
{
    std::vector<QStringList> rows;
    rows.reserve(ledger.years.size());
    for (const LeaveYear& year : ledger.years) {
        rows.push_back({dateText(year.kijunDt), grantBasisText(year), leaveDaysText(year.granted),
                        leaveDaysText(year.carriedOver), takenDaysText(year, dateText),
                        leaveDaysText(year.takenDays), leaveDaysText(year.lapsed),
                        leaveDaysText(year.balance), fiveDayText(year, dateText)});
    }
    return rows;
}
