#pragma once

#include "MonthLog.h"

#include <QString>

#include <map>
#include <tuple>
#include <vector>

class Database;

// Moving the whole of the program's data between its two homes: a ".tim" backup is an SQLite
// file of the program's schema whichever engine the office uses.

// Replaces every row of the program's tables in `to` by the rows of `from`, as one unit of work on
// `to`: on a failure `to` keeps all of its old rows. Both hold the current schema. The rows are
// read from one consistent state of `from`, whatever other clerks save meanwhile.
void copyAllRows(Database& from, Database& to);

// Writes a new database file at path (none may be there) holding every row of `from`, as one
// consistent state: a file as it stands with its write-ahead log, whatever programs read it
// meanwhile, or a server's rows. A failure leaves no file behind.
void exportToFile(Database& from, const QString& path);

// A restore replaces the data, but what the office relies on to trust it outlives the restore:
// the history of changes (the audit trail) and the revisions that keep a screen loaded before the
// restore from saving over it.

// What restoring `restored` over `live` undoes, read from both before anything is replaced.
struct RestoreImpact {
    struct Month {
        QString staffCd;
        QString staffNm;
        QString syoriDt;
    };
    std::vector<Month> reopened; // closed now, open in the file
    int newerHistory = 0;        // history entries now that the file lacks
};
RestoreImpact restoreImpact(Database& live, Database& restored);

// What of the live data outlives a restore, read just before it.
struct SurvivingState {
    std::vector<HistoryEntry> history;                              // oldest first
    std::map<std::tuple<QString, QString, QString>, int> revisions; // table, key, key → revision
};
SurvivingState readSurvivingState(Database& live);

// Carries the surviving state into the restored data, as one unit on it: the history entries it
// lacks, followed by the entry of the restore itself, and every revision raised above both the
// live one and the restored one.
void carrySurvivingState(Database& restored, const SurvivingState& state,
                         const HistoryEntry& restore);

// The restore of a file's rows onto a server as one unit: its tables held against other clerks'
// writes, the surviving state read, every row replaced, the state carried over.
void restoreRows(Database& from, Database& to, const HistoryEntry& restore);
