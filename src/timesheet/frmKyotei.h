#pragma once

#include "MonthLegal.h"
#include "WorkScreen.h"

#include <QPointer>

class ListField;
class QChartView;
class QLabel;
class QTreeWidget;

// The overtime agreement monitor (36協定 一覧): every member by the agreement year's months, each
// month's overtime and legal-day-off hours coloured by where it stands, the year's overtime, the
// worst 2 to 6 month average and the months over the monthly limit; the chosen member's months as
// a chart with the limits; printed and exported as CSV.
class frmKyotei : public WorkScreen {
    Q_OBJECT

public:
    explicit frmKyotei(const QDate& today, QWidget* parent = nullptr);

    const std::vector<MonitorRow>& rows() const { return m_rows; }

private:
    void showYear();
    void showChart();
    void cmd_button_Click(int index);

    QDate m_today;
    LegalSettings m_settings;
    int m_year = 0;
    std::vector<MonitorRow> m_rows;
    ListField* m_yearList;
    QLabel* m_notice;
    QTreeWidget* m_list;
    QChartView* m_chart;
};

extern QPointer<frmKyotei> gfrmKyotei;

// Opens the monitor on this agreement year, or brings it forward when open.
frmKyotei* showAgreementMonitor();
