#pragma once

#include "MonthLog.h"
#include "ReportEngine.h"

#include <vector>

// The printed history of a member's month: its title, then each entry newest first, when, who
// and what was done, and what changed a line at a time.
ReportDocument historyReport(const QString& title, const std::vector<HistoryEntry>& history,
                             const QDate& today);
