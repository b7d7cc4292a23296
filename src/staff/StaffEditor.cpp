#include "StaffEditor.h"

#include "Database.h"
#include "MonthLog.h"
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
    read.end();
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
    if (const QString change = describeStaffChange(m_onFile, m_record); !change.isEmpty()) {
        addHistory(db, stampedHistoryEntry(m_record.staffCd, QString(),
                                           m_onFile ? QStringLiteral("スタッフ変更")
                                                    : QStringLiteral("スタッフ登録"),
                                           change));
    }
    const qint64 memberNow = memberRevision(db, m_record.staffCd);
    unit.commit();
    m_onFile = m_record;
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

void StaffEditor::reload(Database& db)
{
    m_curCode.clear();
    lookUp(db, m_record.staffCd);
}
