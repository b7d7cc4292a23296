#pragma once

#include "MonthLegal.h"
#include "ReportEngine.h"

#include <QColor>

// The printed 36協定 一覧 of an agreement year: a line a member with each month's overtime and
// legal-day-off hours and its state, the year's overtime, the worst average and the months over
// the monthly limit. A4 landscape.
ReportDocument agreementMonitorReport(const std::vector<MonitorRow>& rows, int firstYear,
                                      const QDate& today);

// The text colour of an agreement state, on the screens and on paper. Ok is plain black, which a
// screen replaces with its palette's text colour.
QColor agreementStateColour(AgreementState state);

// The monitor as a table, shown, printed and exported alike: the columns' captions, and a row
// of texts a member. A month's cell is its overtime, with "+" and the legal-day-off work when
// there is any ("46:00+8:00").
QStringList monitorColumns(const std::vector<MonitorRow>& rows);
QStringList monitorRow(const MonitorRow& row);
