#pragma once

#include "MonthLog.h"
#include "ReportEngine.h"

#include <vector>

// An entry's time and operation as the history window and its printed list show them; a deleted
// member's entries say so.
QString historyTimeText(const HistoryEntry& entry);
QString historyOperationText(const HistoryEntry& entry);

// The printed history of a member's month: its title, then each entry newest first, when, who
// and what was done, and what changed a line at a time.
ReportDocument historyReport(const QString& title, const std::vector<HistoryEntry>& history,
                             const QDate& today);
