#include "MonitorReport.h"

#include <QPageSize>

namespace {

const QString kMincho = QStringLiteral("ＭＳ 明朝");
constexpr int kNameWidth = 1500;
constexpr int kCodeWidth = 560;
constexpr int kMonthWidth = 820;
constexpr int kSumWidth = 900;

// The columns: code, name, twelve months, then the year's three figures.
struct Placed {
    int left;
    int width;
};
std::vector<Placed> columnPlaces()
{
    std::vector<Placed> places{{0, kCodeWidth}, {kCodeWidth, kNameWidth}};
    int left = kCodeWidth + kNameWidth;
    for (int i = 0; i < 12; ++i, left += kMonthWidth)
        places.push_back({left, kMonthWidth});
    for (int i = 0; i < 3; ++i, left += kSumWidth)
        places.push_back({left, kSumWidth});
    return places;
}

class MonitorSource : public ReportSource {
public:
    explicit MonitorSource(const std::vector<MonitorRow>& rows)
        : m_rows(rows)
    {
    }

    void dataInitialize(ReportFields& fields) override
    {
        for (int i = 0; i < 17; ++i)
            fields.declare(QStringLiteral("c%1").arg(i));
    }

    bool fetchData(ReportFields& fields, ReportStyle& style) override
    {
        if (m_next >= m_rows.size())
            return true;
        const MonitorRow& row = m_rows[m_next++];
        const QStringList texts = monitorRow(row);
        for (int i = 0; i < texts.size(); ++i)
            fields.set(QStringLiteral("c%1").arg(i), texts[i]);
        for (size_t m = 0; m < row.checks.size(); ++m)
            style.setTextColour(QStringLiteral("txt_c%1").arg(m + 2),
                                agreementStateColour(row.checks[m].state));
        return false;
    }

private:
    const std::vector<MonitorRow>& m_rows;
    size_t m_next = 0;
};

} // namespace

QColor agreementStateColour(AgreementState state)
{
    switch (state) {
    case AgreementState::Ok:
        break;
    case AgreementState::Caution:
        return {0x90, 0x70, 0};
    case AgreementState::Warning:
        return {0xC0, 0x40, 0};
    case AgreementState::Over:
        return Qt::red;
    }
    return Qt::black;
}

QStringList monitorColumns(const std::vector<MonitorRow>& rows)
{
    QStringList columns{QStringLiteral("ｺｰﾄﾞ"), QStringLiteral("氏名")};
    if (!rows.empty()) {
        for (const AgreementMonth& m : rows.front().months)
            columns << QStringLiteral("%1月").arg(m.month);
    }
    return columns << QStringLiteral("年計") << QStringLiteral("最悪平均")
                   << QStringLiteral("超過月数");
}

QStringList monitorRow(const MonitorRow& row)
{
    QStringList texts{row.staffCd, row.staffNm};
    for (const AgreementMonth& m : row.months) {
        texts << minutesText(m.overtime) +
                     (m.legalHoliday > 0 ? u'+' + minutesText(m.legalHoliday) : QString());
    }
    return texts << minutesText(row.yearOvertime) << minutesText(row.worstAverage)
                 << QString::number(row.monthsOver);
}

ReportDocument agreementMonitorReport(const std::vector<MonitorRow>& rows, int firstYear,
                                      const QDate& today)
{
    const ReportFont font{kMincho, 7.5};
    const std::vector<Placed> places = columnPlaces();
    ReportDefinition d;
    d.pageHeader = {QStringLiteral("PageHeader"), 900, {}, {QLine(0, 880, 15100, 880)}};
    d.pageHeader.texts = {reportLabel(QStringLiteral("lbl_title"),
                                      QStringLiteral("36協定 一覧　%1年度").arg(firstYear),
                                      {0, 0, 15100, 360}, {kMincho, 14})};
    const QStringList captions = monitorColumns(rows);
    for (size_t i = 0; i < places.size() && qsizetype(i) < captions.size(); ++i) {
        d.pageHeader.texts.push_back(reportLabel(QStringLiteral("lbl_c%1").arg(i),
                                                 captions[qsizetype(i)],
                                                 {places[i].left, 560, places[i].width, 300}, font,
                                                 i < 2 ? Qt::AlignLeft : Qt::AlignRight));
    }
    d.detail = {QStringLiteral("Detail"), 260, {}, {}};
    for (size_t i = 0; i < places.size(); ++i) {
        d.detail.texts.push_back(reportField(QStringLiteral("txt_c%1").arg(i),
                                             QStringLiteral("c%1").arg(i),
                                             {places[i].left, 0, places[i].width, 240}, font,
                                             i < 2 ? Qt::AlignLeft : Qt::AlignRight));
    }
    d.pageFooter = todayFooter(font);
    d.pageLayout = a4PortraitLayout();
    d.pageLayout.setOrientation(QPageLayout::Landscape);
    d.title = QStringLiteral("36協定一覧_%1年度").arg(firstYear);
    MonitorSource source(rows);
    return runReport(d, source, today);
}
