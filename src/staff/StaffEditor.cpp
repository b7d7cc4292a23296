#include "StaffEditor.h"

#include "StaffStore.h"
#include "TimesheetStore.h"

bool StaffEditor::lookUp(Database& db, const QString& typed)
{
    if (typed == m_curCode)
        return false;
    const QString code = padStaffCode(typed);
    m_record = GetStaff(db, code);
    m_revision = memberRevision(db, code);
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

void StaffEditor::save(Database& db) const
{
    SaveStaff(db, m_record);
}

void StaffEditor::remove(Database& db) const
{
    DeleteStaff(db, m_record.staffCd, m_revision);
}

void StaffEditor::reload(Database& db)
{
    m_curCode.clear();
    lookUp(db, m_record.staffCd);
}
