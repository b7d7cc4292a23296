#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

class Database;

// Month end: which members' months are closed (締め), and the history of every save, delete,
// close and reopen of a month (変更履歴). Failures raise StoreError.

struct HistoryEntry {
    QDateTime henkouDt; // when, local time
    QString userNm;     // the operating-system user
    QString staffCd;    // empty for the whole office
    QString syoriDt;    // empty for a member's record
    QString sousa; // "保存", "削除", "締め", "締め解除", "スタッフ変更", "復元", ...
    QString naiyou; // what changed, a line a day, then the totals
    bool deletedMember = false;

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// The user name of the operating system, for the history.
QString operatingSystemUser();
// An entry of what the operating system's user does now to a member's month.
HistoryEntry stampedHistoryEntry(const QString& staffCd, const QString& syoriDt,
                                 const QString& sousa, const QString& naiyou = {});

// Records one entry, inside the caller's unit of work when there is one.
void addHistory(Database& db, const HistoryEntry& entry);
// A member's month's history, newest first, with the changes of the member's record (recorded
// without a month) and those of the whole office, such as a restore (recorded without a member).
std::vector<HistoryEntry> loadHistory(Database& db, const QString& staffCd, const QString& syoriDt);

bool isMonthClosed(Database& db, const QString& staffCd, const QString& syoriDt);
// Closes or reopens the month and records it with the month's totals on file, as one unit. Raises
// the month's revision as raiseMonthRevision does and returns the new one.
int closeMonth(Database& db, const HistoryEntry& entry,
               std::optional<int> expectedRevision = std::nullopt);
int reopenMonth(Database& db, const HistoryEntry& entry,
                std::optional<int> expectedRevision = std::nullopt);
// Closes the months of the entries as one unit: all of them, or none when one cannot be closed.
void closeMonths(Database& db, const std::vector<HistoryEntry>& entries);
// The processing months "yyyymm" of a member that are closed, oldest first.
std::vector<QString> closedMonths(Database& db, const QString& staffCd);
