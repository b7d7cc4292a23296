#include "StaffEditor.h"

#include "Database.h"
#include "LeaveStore.h"
#include "MonthLog.h"
#include "Period.h"
#include "StaffStore.h"
#include "TimesheetStore.h"

#include <QStringList>

namespace {

// What changed in a member's record, for the history: "氏名 青木 → 青木太郎", a line a field; a
// member not on file is "なし".
QString describeStaffChange(const std::optional<StaffRecord>& before,
                            const std::optional<StaffRecord>& after)
{
    QStringList lines;
    const auto line = [&](const QString& caption, QString StaffRecord::*field) {
        const QString was = before ? (*before).*field : QStringLiteral("なし");
        const QString now = after ? (*after).*field : QStringLiteral("なし");
        if (was != now)
            lines << QStringLiteral("%1 %2 → %3").arg(caption, was, now);
    };
    line(QStringLiteral("氏名"), &StaffRecord::staffNm);
    line(QStringLiteral("ﾌﾘｶﾞﾅ"), &StaffRecord::staffKm);
    return lines.join(u'\n');
}

QString dateOrNone(const QDate& day)
{
    return day.isValid() ? slashDate(day) : QStringLiteral("なし");
}

// What changed in a member's working conditions, for the history, a line a field.
QString describeConditionsChange(const MemberConditions& before, const MemberConditions& after)
{
    QStringList lines;
    const auto line = [&](const QString& caption, const QString& was, const QString& now) {
        if (was != now)
            lines << QStringLiteral("%1 %2 → %3").arg(caption, was, now);
    };
    line(QStringLiteral("入社日"), dateOrNone(before.nyusyaDt), dateOrNone(after.nyusyaDt));
    line(QStringLiteral("退職日"), dateOrNone(before.taisyokuDt), dateOrNone(after.taisyokuDt));
    line(QStringLiteral("週所定労働日数"), QString::number(before.syuNissu),
         QString::number(after.syuNissu));
    line(QStringLiteral("週所定労働時間"), QString::number(before.syuJikan),
         QString::number(after.syuJikan));
    line(QStringLiteral("1日の所定労働時間"), QString::number(before.hiJikan),
         QString::number(after.hiJikan));
    return lines.join(u'\n');
}

} // namespace

bool StaffEditor::lookUp(Database& db, const QString& typed)
{
    if (typed == m_curCode)
        return false;
    const QString code = padStaffCode(typed);
    Snapshot read(db);
    m_onFile = findStaff(db, code);
    m_record = m_onFile.value_or(StaffRecord{code, QString(), QString()});
    m_recordRevision = staffRevision(db, code);
    m_memberRevision = memberRevision(db, code);
    m_conditionsOnFile = loadConditions(db, code);
    read.end();
    m_conditions = m_conditionsOnFile;
    m_curCode = code;
    return true;
}

QString StaffEditor::saveRefusal(const QString& codeText, const QString& nameText)
{
    if (codeText.isEmpty())
        return QStringLiteral("スタッフコードを半角4桁にて入力してください。");
    if (nameText.isEmpty())
        return QStringLiteral("スタッフ氏名を入力してください。");
    return {};
}

void StaffEditor::setConditions(const MemberConditions& conditions)
{
    m_conditions = conditions;
    m_conditions.staffCd = m_record.staffCd;
}

QString StaffEditor::conditionsRefusal() const
{
    const MemberConditions& c = m_conditions;
    if (c.taisyokuDt.isValid() && c.nyusyaDt.isValid() && c.taisyokuDt < c.nyusyaDt)
        return QStringLiteral("退職日が入社日より前です。確認してください。");
    if (c.syuNissu < 1 || c.syuNissu > 7)
        return QStringLiteral("週所定労働日数は 1 から 7 で入力してください。");
    if (c.hiJikan <= 0 || c.hiJikan > 24)
        return QStringLiteral("1日の所定労働時間は 24 時間までで入力してください。");
    if (c.syuJikan <= 0 || c.syuJikan > c.hiJikan * c.syuNissu)
        return QStringLiteral("週所定労働時間は、1日の所定労働時間 × 週所定労働日数までで"
                              "入力してください。");
    return {};
}

QString StaffEditor::deleteRefusal(const QString& codeText)
{
    if (codeText.isEmpty())
        return QStringLiteral("スタッフコードを指定してください。");
    return {};
}

QString StaffEditor::deleteQuestion()
{
    return QStringLiteral("削除してよろしいでしょうか？削除すると出勤表のデータも消えます。");
}

void StaffEditor::save(Database& db)
{
    Transaction unit(db);
    const int revision = SaveStaff(db, m_record, m_recordRevision);
    // The revision held: the record on file is the one looked up.
    saveConditions(db, m_conditions);
    QStringList changes{describeStaffChange(m_onFile, m_record),
                        describeConditionsChange(m_conditionsOnFile, m_conditions)};
    changes.removeAll(QString());
    if (const QString change = changes.join(u'\n'); !change.isEmpty()) {
        addHistory(db, stampedHistoryEntry(m_record.staffCd, QString(),
                                           m_onFile ? QStringLiteral("スタッフ変更")
                                                    : QStringLiteral("スタッフ登録"),
                                           change));
    }
    const qint64 memberNow = memberRevision(db, m_record.staffCd);
    unit.commit();
    m_onFile = m_record;
    m_conditionsOnFile = m_conditions;
    m_recordRevision = revision;
    m_memberRevision = memberNow;
}

void StaffEditor::remove(Database& db) const
{
    Transaction unit(db);
    DeleteStaff(db, m_record.staffCd, m_memberRevision);
    HistoryEntry entry =
        stampedHistoryEntry(m_record.staffCd, QString(), QStringLiteral("スタッフ削除"),
                            describeStaffChange(m_onFile, std::nullopt));
    entry.deletedMember = true;
    addHistory(db, entry);
    unit.commit();
}

QString StaffEditor::keepingQuestion(Database& db, const QDate& today) const
{
    const std::optional<MonthHeader> newest = newestMonth(db, m_record.staffCd);
    if (!newest || recordsKeptUntil(newest->kikanEn) < today)
        return {};
    return QStringLiteral("%1 %2 の出勤記録は、労働基準法により%3まで保存する義務があります"
                          "（最新は%4）。それでも削除しますか？")
        .arg(m_record.staffCd, m_record.staffNm, slashDate(recordsKeptUntil(newest->kikanEn)),
             monthCaption(newest->syoriDt));
}

void StaffEditor::reload(Database& db)
{
    m_curCode.clear();
    lookUp(db, m_record.staffCd);
}
