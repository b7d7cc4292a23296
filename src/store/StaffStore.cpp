#include "StaffStore.h"

#include "Database.h"
#include "Revisions.h"

namespace {

QString columnName(StaffField field)
{
    switch (field) {
    case StaffField::staffCd:
        return QStringLiteral("staffCd");
    case StaffField::staffNm:
        return QStringLiteral("staffNm");
    case StaffField::staffKm:
        return QStringLiteral("staffKm");
    }
    return QStringLiteral("staffCd");
}

// A containment pattern that takes every character of the keyword literally.
QString containsPattern(const QString& keyword)
{
    QString escaped = keyword;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString matchCondition(const Database& db, StaffField field)
{
    return QStringLiteral("WHERE CMSTAFFKIHONMST.%1 %2 ? ESCAPE '\\' ")
        .arg(columnName(field), db.dialect().caseBlindLike());
}

StaffRecord readStaff(const Rows& rows)
{
    return {rows.text(0), rows.text(1), rows.text(2)};
}

} // namespace

int CountStaff(Database& db, const QString& keyword, StaffField field)
{
    Rows rows =
        db.query(QStringLiteral("SELECT count(staffCd) AS c_staffCd FROM CMSTAFFKIHONMST ") +
                     matchCondition(db, field),
                 {containsPattern(keyword)});
    return rows.next() ? rows.value(QStringLiteral("c_staffcd")).toInt() : 0;
}

std::vector<StaffRecord> ListStaff(Database& db, const QString& keyword, StaffField field)
{
    const QString column = columnName(field);
    Rows rows =
        db.query(QStringLiteral("SELECT staffCd, staffNm, staffKm FROM CMSTAFFKIHONMST ") +
                     matchCondition(db, field) +
                     QStringLiteral("ORDER BY CMSTAFFKIHONMST.%1 DESC, staffCd DESC").arg(column),
                 {containsPattern(keyword)});
    std::vector<StaffRecord> list;
    while (rows.next())
        list.push_back(readStaff(rows));
    return list;
}

StaffRecord GetStaff(Database& db, const QString& code)
{
    Rows rows = db.query(QStringLiteral("SELECT staffCd, staffNm, staffKm FROM CMSTAFFKIHONMST "
                                        "WHERE staffCd = ?"),
                         {code});
    if (rows.next())
        return readStaff(rows);
    return {code, QString(), QString()};
}

std::optional<StaffRecord> findStaff(Database& db, const QString& code)
{
    Rows rows = db.query(QStringLiteral("SELECT staffCd, staffNm, staffKm FROM CMSTAFFKIHONMST "
                                        "WHERE staffCd = ?"),
                         {code});
    if (rows.next())
        return readStaff(rows);
    return std::nullopt;
}

int staffRevision(Database& db, const QString& code)
{
    return revision(db, staffRevisionKey(code));
}

int SaveStaff(Database& db, const StaffRecord& rec, std::optional<int> expectedRevision)
{
    Transaction transaction(db);
    const int raised = raiseRevision(db, staffRevisionKey(rec.staffCd), expectedRevision);
    // Changed in place: a month being saved meanwhile holds the member's row, and finds it still.
    db.execute(QStringLiteral("INSERT INTO CMSTAFFKIHONMST (staffCd, staffNm, staffKm) "
                              "VALUES (?, ?, ?) ON CONFLICT (staffCd) DO UPDATE "
                              "SET staffNm = excluded.staffNm, staffKm = excluded.staffKm"),
               {rec.staffCd, rec.staffNm, rec.staffKm});
    transaction.commit();
    return raised;
}

void DeleteStaff(Database& db, const QString& code, std::optional<qint64> expectedRevision)
{
    Transaction transaction(db);
    // Raising first holds the member's record and months against other clerks until the unit
    // ends.
    const int record = raiseRevision(db, staffRevisionKey(code), std::nullopt);
    db.execute(QStringLiteral("UPDATE KYKAITEIKANRI SET kaiteiNo = kaiteiNo + 1 WHERE staffCd = ?"),
               {code});
    if (expectedRevision) {
        Rows before = db.query(QStringLiteral("SELECT COALESCE(sum(kaiteiNo - 1), 0) FROM "
                                              "KYKAITEIKANRI WHERE staffCd = ?"),
                               {code});
        if (!before.next() || before.value(0).toLongLong() + record - 1 != *expectedRevision)
            throw StaleChange();
    }
    db.execute(QStringLiteral("DELETE FROM CMSTAFFKIHONMST WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM KYKINTAISYUKEIJL WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM KYTIMESHEETJL WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM KYSIMEKANRI WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM CMSTAFFJOUKENMST WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM KYYUKYUFUYOJL WHERE staffCd = ?"), {code});
    db.execute(QStringLiteral("DELETE FROM KYHOUTEIJL WHERE staffCd = ?"), {code});
    // The history stays, marked as a deleted member's.
    db.execute(QStringLiteral("UPDATE KYHENKOURIREKI SET sakujoFlg = 1 WHERE staffCd = ?"), {code});
    transaction.commit();
}
