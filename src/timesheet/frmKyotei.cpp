#include "frmKyotei.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "LegalStore.h"
#include "Messages.h"
#include "MonitorReport.h"
#include "ReportPreview.h"
#include "ScreenParts.h"
#include "frmPayroll.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTreeWidget>
#include <QValueAxis>

QPointer<frmKyotei> gfrmKyotei;

frmKyotei* showAgreementMonitor()
{
    return showSingle(gfrmKyotei, [] { return addChild(new frmKyotei(QDate::currentDate())); });
}

namespace {

QColor stateBackground(AgreementState state)
{
    switch (state) {
    case AgreementState::Ok:
        break;
    case AgreementState::Caution:
        return {0xFF, 0xF4, 0xB0};
    case AgreementState::Warning:
        return {0xFF, 0xC8, 0x80};
    case AgreementState::Over:
        return {0xFF, 0x90, 0x90};
    }
    return {};
}

// A horizontal line across the chart's months at a number of hours.
QLineSeries* limitLine(const QString& name, double hours, int months, const QColor& colour)
{
    auto* line = new QLineSeries;
    line->setName(name);
    line->append(-0.5, hours);
    line->append(months - 0.5, hours);
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidth(2);
    line->setPen(pen);
    return line;
}

} // namespace

frmKyotei::frmKyotei(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmKyotei"), QStringLiteral("36協定 一覧"), {14400, 9300},
                 Placement::Centred, parent)
    , m_today(today)
{
    addHeading(this,
               QStringLiteral("協定年度の月ごとの法定外残業と法定休日労働を、36協定の上限と比べ"
                              "ます。"),
               px(120, 120, 14160, 300));
    auto* yearCaption = new QLabel(QStringLiteral("協定年度:"), this);
    yearCaption->setGeometry(px(240, 540, 1100, 345));
    m_yearList = new ListField(this);
    m_yearList->setObjectName(QStringLiteral("cmb_nendo"));
    m_yearList->setGeometry(px(1380, 540, 1500, 345));
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("lbl_notice"));
    m_notice->setGeometry(px(3000, 540, 11160, 345));
    setTextColour(m_notice, Qt::red);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(240, 1020, 13920, 3900));
    m_list->setRootIsDecorated(false);
    m_chart = new QChartView(this);
    m_chart->setObjectName(QStringLiteral("obj_chart"));
    m_chart->setGeometry(px(240, 5040, 13920, 3600));
    m_chart->setRenderHint(QPainter::Antialiasing);

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* print =
        addCommandButton(this, 2, QStringLiteral("印刷(&P)"), px(9360, 8760, 1500, 420), onClick);
    QPushButton* csv = addCommandButton(this, 3, QStringLiteral("CSV出力(&O)"),
                                        px(10980, 8760, 1500, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(12600, 8760, 1500, 420), onClick);
    setTabChain({m_yearList, m_list, print, csv, close});

    runReported(QStringLiteral("Form_Load()"), [this] {
        m_settings = loadLegalSettings(openDb());
        const int current = agreementYearOf(m_today, m_settings.agreement);
        for (int year = current - 5; year <= current; ++year)
            m_yearList->addItem(QStringLiteral("%1年度").arg(year), year);
        m_yearList->setCurrentIndex(m_yearList->count() - 1);
        if (!m_settings.enabled)
            m_notice->setText(QStringLiteral("法定労働時間の計算は入っていません（「法定労働時間"
                                             "の設定」で入れると勤怠入力にも表示されます）。"));
    });
    connect(m_yearList, &QComboBox::currentIndexChanged, this, &frmKyotei::showYear);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &frmKyotei::showChart);
    showYear();
    m_list->setFocus();
}

void frmKyotei::showYear()
{
    runReported(QStringLiteral("Data_Disp()"), [this] {
        m_year = m_yearList->currentData().toInt();
        m_rows = loadAgreementMonitor(openDb(), m_year, m_settings);
        m_list->clear();
        m_list->setHeaderLabels(monitorColumns(m_rows));
        m_list->setColumnWidth(0, px(600));
        m_list->setColumnWidth(1, px(1400));
        for (int column = 2; column < m_list->columnCount(); ++column)
            m_list->setColumnWidth(column, px(column < 14 ? 760 : 900));
        for (const MonitorRow& row : m_rows) {
            auto* item = new QTreeWidgetItem(m_list, monitorRow(row));
            for (int column = 2; column < item->columnCount(); ++column)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
            for (size_t m = 0; m < row.checks.size(); ++m) {
                const AgreementCheck& check = row.checks[m];
                if (check.state == AgreementState::Ok)
                    continue;
                item->setBackground(int(m) + 2, stateBackground(check.state));
                item->setToolTip(int(m) + 2, QStringLiteral("%1（%2 の %3%）")
                                                 .arg(agreementStateText(check.state), check.rule)
                                                 .arg(check.percent));
            }
        }
        if (m_list->topLevelItemCount() > 0)
            m_list->setCurrentItem(m_list->topLevelItem(0));
        else
            showChart();
    });
}

void frmKyotei::showChart()
{
    auto* chart = new QChart;
    const int index =
        m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (index >= 0 && size_t(index) < m_rows.size()) {
        const MonitorRow& row = m_rows[size_t(index)];
        chart->setTitle(QStringLiteral("%1 %2　%3年度").arg(row.staffCd, row.staffNm).arg(m_year));
        auto* overtime = new QBarSet(QStringLiteral("法定外残業"));
        auto* holiday = new QBarSet(QStringLiteral("法定休日労働"));
        QStringList months;
        for (const AgreementMonth& m : row.months) {
            *overtime << m.overtime / 60.0;
            *holiday << m.legalHoliday / 60.0;
            months << QStringLiteral("%1月").arg(m.month);
        }
        auto* bars = new QStackedBarSeries;
        bars->append(overtime);
        bars->append(holiday);
        chart->addSeries(bars);
        const AgreementRules& a = m_settings.agreement;
        std::vector<QLineSeries*> lines{limitLine(QStringLiteral("月の限度"), a.monthlyLimit / 60.0,
                                                  int(months.size()), QColor(0xC0, 0x40, 0))};
        if (a.specialClause) {
            lines.push_back(limitLine(QStringLiteral("月100時間"), a.monthlyCap / 60.0,
                                      int(months.size()), Qt::red));
            lines.push_back(limitLine(QStringLiteral("平均80時間"), a.averageCap / 60.0,
                                      int(months.size()), Qt::darkMagenta));
        }
        auto* axisX = new QBarCategoryAxis;
        axisX->append(months);
        auto* axisY = new QValueAxis;
        axisY->setTitleText(QStringLiteral("時間"));
        axisY->setLabelFormat(QStringLiteral("%d"));
        chart->addAxis(axisX, Qt::AlignBottom);
        chart->addAxis(axisY, Qt::AlignLeft);
        bars->attachAxis(axisX);
        bars->attachAxis(axisY);
        double top = (a.specialClause ? a.monthlyCap : a.monthlyLimit) / 60.0;
        for (const AgreementMonth& m : row.months)
            top = std::max(top, (m.overtime + m.legalHoliday) / 60.0);
        for (QLineSeries* line : lines) {
            chart->addSeries(line);
            line->attachAxis(axisY);
            // The line runs on its own across the categories: an axis of positions, hidden.
            auto* across = new QValueAxis;
            across->setRange(-0.5, double(months.size()) - 0.5);
            across->setVisible(false);
            chart->addAxis(across, Qt::AlignTop);
            line->attachAxis(across);
        }
        axisY->setRange(0, top * 1.1);
        axisY->applyNiceNumbers();
    }
    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

void frmKyotei::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 6) {
            closeScreen(this);
            return;
        }
        if (m_rows.empty()) {
            ShowMsg(kMsgError, QStringLiteral("対象データがありません。"));
            return;
        }
        if (index == 2) {
            showReport(agreementMonitorReport(m_rows, m_year, QDate::currentDate()), this);
            return;
        }
        std::vector<CsvRow> lines;
        lines.reserve(m_rows.size());
        for (const MonitorRow& row : m_rows)
            lines.push_back(
                {QStringLiteral("スタッフ %1 %2").arg(row.staffCd, row.staffNm), monitorRow(row)});
        const QString path =
            saveCsvFile(this, QStringLiteral("36協定一覧の出力"),
                        QStringLiteral("36協定一覧_%1年度.csv").arg(m_year),
                        csvFile(monitorColumns(m_rows), lines, CsvEncoding::Utf8Bom));
        if (!path.isEmpty())
            ShowMsg(kMsgInformation, QStringLiteral("%1 に出力しました。").arg(path));
    });
}
