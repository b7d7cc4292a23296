#pragma once

#include "OfficeCalendar.h"
#include "Records.h"
#include "ReportEngine.h"

#include <vector>

class Database;

// The monthly attendance sheet: for each staff member of a range of codes and months, the month's
// title and period, the name, one line per stored day with the public holiday or office day off it
// falls on, and the month's stored totals. Each staff member's sheet begins on a new page.
class rptSyukin : public ReportSource {
public:
    explicit rptSyukin(Database& db);

    // The parameters, set before the run.
    QString pStaffCdSt;
    QString pStaffCdEn;
    QString pSyoriDtSt;
    QString pSyoriDtEn;

    static ReportDefinition Definition();

    // Produces the sheets; today is the date printed at the top of each page. A run that finds no
    // rows yields one empty page; the caller tells the clerk.
    ReportDocument run(const QDate& today = QDate::currentDate());
    // Whether the last run found no rows to print.
    bool foundNoRows() const { return m_sheetRows.empty(); }

    void dataInitialize(ReportFields& fields) override;
    bool fetchData(ReportFields& fields, ReportStyle& style) override;

private:
    void ReadSheetData();

    // The leave and absence of the month being printed, for the line below its totals.
    struct LeaveCount {
        double paidLeave = 0; // a half day 0.5
        int absence = 0;
        int specialLeave = 0;
        bool any = false; // a day of a class past the rest day
        void add(const QString& syukinKb);
        // Empty for a month with none.
        QString caption() const;
    };

    Database& m_db;
    std::vector<ReportRow> m_sheetRows;
    PeriodCalendar m_calendar; // of the days printed
    std::size_t m_rowPos = 0;  // the next row to hand over, from 0
    LeaveCount m_leave;
};
