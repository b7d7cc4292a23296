#include "MonthLog.h"

#include "Database.h"
#include "Records.h"
#include "TimesheetStore.h"

#include <pwd.h>
#include <unistd.h>

QString operatingSystemUser()
{
    if (const passwd* account = getpwuid(getuid()); account && account->pw_name)
        return QString::fromLocal8Bit(account->pw_name);
    return qEnvironmentVariable("USER");
}

HistoryEntry stampedHistoryEntry(const QString& staffCd, const QString& syoriDt,
                                 const QString& sousa, const QString& naiyou)
{
    return {QDateTime::currentDateTime(), operatingSystemUser(), staffCd, syoriDt, sousa, naiyou};
}

void addHistory(Database& db, const HistoryEntry& e)
{
    db.execute(QStringLiteral("INSERT INTO KYHENKOURIREKI (henkouDt, userNm, staffCd, syoriDt, "
                              "sousa, naiyou, sakujoFlg) VALUES (?, ?, ?, ?, ?, ?, ?)"),
               {e.henkouDt.toString(Qt::ISODate), e.userNm, e.staffCd, e.syoriDt, e.sousa, e.naiyou,
                e.deletedMember ? 1 : 0});
}

std::vector<HistoryEntry> loadHistory(Database& db, const QString& staffCd, const QString& syoriDt)
{
    const QString columns = QStringLiteral("SELECT rirekiNo, henkouDt, userNm, staffCd, syoriDt, "
                                           "sousa, naiyou, sakujoFlg FROM KYHENKOURIREKI ");
    Rows rows = db.query(columns +
                             QStringLiteral("WHERE staffCd = ? AND syoriDt IN (?, '') "
                                            "UNION ALL ") +
                             columns + QStringLiteral("WHERE staffCd = '' ORDER BY 1 DESC"),
                         {staffCd, syoriDt});
    std::vector<HistoryEntry> history;
    while (rows.next()) {
        history.push_back({QDateTime::fromString(rows.text(1), Qt::ISODate), rows.text(2),
                           rows.text(3), rows.text(4), rows.text(5), rows.text(6),
                           rows.value(7).toInt() != 0});
    }
    return history;
}

bool isMonthClosed(Database& db, const QString& staffCd, const QString& syoriDt)
{
    Rows rows =
        db.query(QStringLiteral("SELECT 1 FROM KYSIMEKANRI WHERE staffCd = ? AND syoriDt = ?"),
                 {staffCd, syoriDt});
    return rows.next();
}

namespace {

// The entry of a close or reopen with the month's totals on file at that moment.
HistoryEntry withTotals(Database& db, HistoryEntry entry)
{
    Rows rows = db.query(QStringLiteral("SELECT kihon1, kihon2, kihon3, kihon4 FROM "
                                        "KYKINTAISYUKEIJL WHERE staffCd = ? AND syoriDt = ?"),
                         {entry.staffCd, entry.syoriDt});
    if (rows.next()) {
        const QString totals = QStringLiteral("合計 ") +
                               hoursFigures(rows.real(0), rows.real(1), rows.real(2), rows.real(3));
        entry.naiyou = entry.naiyou.isEmpty() ? totals : entry.naiyou + u'\n' + totals;
    }
    return entry;
}

} // namespace

int closeMonth(Database& db, const HistoryEntry& entry, std::optional<int> expectedRevision)
{
    Transaction transaction(db);
    const int revision = raiseMonthRevision(db, entry.staffCd, entry.syoriDt, expectedRevision);
    db.execute(QStringLiteral("INSERT INTO KYSIMEKANRI (staffCd, syoriDt, simeDt, simeUser) "
                              "VALUES (?, ?, ?, ?) ON CONFLICT (staffCd, syoriDt) DO UPDATE "
                              "SET simeDt = excluded.simeDt, simeUser = excluded.simeUser"),
               {entry.staffCd, entry.syoriDt, entry.henkouDt.toString(Qt::ISODate), entry.userNm});
    addHistory(db, withTotals(db, entry));
    transaction.commit();
    return revision;
}

int reopenMonth(Database& db, const HistoryEntry& entry, std::optional<int> expectedRevision)
{
    Transaction transaction(db);
    const int revision = raiseMonthRevision(db, entry.staffCd, entry.syoriDt, expectedRevision);
    db.execute(QStringLiteral("DELETE FROM KYSIMEKANRI WHERE staffCd = ? AND syoriDt = ?"),
               {entry.staffCd, entry.syoriDt});
    addHistory(db, withTotals(db, entry));
    transaction.commit();
    return revision;
}

void closeMonths(Database& db, const std::vector<HistoryEntry>& entries)
{
    Transaction transaction(db);
    for (const HistoryEntry& entry : entries)
        closeMonth(db, entry);
    transaction.commit();
}

std::vector<QString> closedMonths(Database& db, const QString& staffCd)
{
    Rows rows = db.query(
        QStringLiteral("SELECT syoriDt FROM KYSIMEKANRI WHERE staffCd = ? ORDER BY syoriDt"),
        {staffCd});
    std::vector<QString> months;
    while (rows.next())
        months.push_back(rows.text(0));
    return months;
}
