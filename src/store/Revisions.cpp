#include "Revisions.h"

#include "Database.h"

StaleChange::StaleChange()
    : StoreError(QStringLiteral("読み込んだ後に、他の担当者が変更しました。"))
{
}

MemberGone::MemberGone(const QString& staffCd)
    : StoreError(QStringLiteral("スタッフ %1 はスタッフマスタにありません（削除されています）。")
                     .arg(staffCd))
{
}

namespace {

QString keyCondition(const RevisionKey& key)
{
    QStringList terms;
    for (const QString& column : key.columns)
        terms << column + QStringLiteral(" = ?");
    return QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
}

} // namespace

int revision(Database& db, const RevisionKey& key)
{
    Rows rows = db.query(QStringLiteral("SELECT kaiteiNo FROM ") + key.table + keyCondition(key),
                         key.values);
    return rows.next() ? rows.value(0).toInt() : 0;
}

int raiseRevision(Database& db, const RevisionKey& key, std::optional<int> expected)
{
    const auto raised = [&db](const QString& sql, const QVariantList& values) {
        Rows rows = db.query(sql + QStringLiteral(" RETURNING kaiteiNo"), values);
        return rows.next() ? std::optional<int>(rows.value(0).toInt()) : std::nullopt;
    };
    const QString columns = key.columns.join(QStringLiteral(", "));
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2, kaiteiNo) VALUES (%3, 1) ON CONFLICT (%2) DO ")
            .arg(key.table, columns,
                 QStringList(key.columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    std::optional<int> revision;
    if (!expected)
        revision =
            raised(insert + QStringLiteral("UPDATE SET kaiteiNo = %1.kaiteiNo + 1").arg(key.table),
                   key.values);
    else if (*expected == 0)
        revision = raised(insert + QStringLiteral("NOTHING"), key.values);
    else
        revision = raised(QStringLiteral("UPDATE %1 SET kaiteiNo = kaiteiNo + 1").arg(key.table) +
                              keyCondition(key) + QStringLiteral(" AND kaiteiNo = ?"),
                          key.values + QVariantList{*expected});
    if (!revision)
        throw StaleChange();
    return *revision;
}

void requireMember(Database& db, const QString& staffCd)
{
    Rows rows = db.query(QStringLiteral("SELECT 1 FROM CMSTAFFKIHONMST WHERE staffCd = ?") +
                             db.dialect().sharedRowLock(),
                         {staffCd});
    if (!rows.next())
        throw MemberGone(staffCd);
}

RevisionKey monthRevisionKey(const QString& staffCd, const QString& syoriDt)
{
    return {QStringLiteral("KYKAITEIKANRI"),
            {QStringLiteral("staffCd"), QStringLiteral("syoriDt")},
            {staffCd, syoriDt}};
}

RevisionKey staffRevisionKey(const QString& staffCd)
{
    return {QStringLiteral("CMKAITEIKANRI"),
            {QStringLiteral("kanriKb"), QStringLiteral("kanriCd")},
            {QStringLiteral("staff"), staffCd}};
}

RevisionKey calendarRevisionKey()
{
    return {QStringLiteral("CMKAITEIKANRI"),
            {QStringLiteral("kanriKb"), QStringLiteral("kanriCd")},
            {QStringLiteral("calendar"), QString()}};
}
