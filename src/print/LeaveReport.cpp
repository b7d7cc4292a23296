#include "LeaveReport.h"

#include "ReportFormat.h"

namespace {

const QString kMincho = QStringLiteral("ＭＳ 明朝");

// The columns of a grant year's line: left edge and width in twips.
struct Column {
    const char* field;
    int left;
    int width;
    Qt::Alignment alignment;
};
constexpr Column kColumns[] = {
    {"kijunDt", 0, 1000, Qt::AlignLeft},      {"kubun", 1050, 1600, Qt::AlignLeft},
    {"fuyo", 2700, 760, Qt::AlignRight},      {"kurikosi", 3510, 760, Qt::AlignRight},
    {"syutokuDt", 4370, 2450, Qt::AlignLeft}, {"syutoku", 6870, 760, Qt::AlignRight},
    {"sikkou", 7680, 760, Qt::AlignRight},    {"zan", 8490, 760, Qt::AlignRight},
    {"nengo", 9350, 1138, Qt::AlignLeft},
};

QString eraDate(const QDate& day)
{
    return formatEraDate(day, QStringLiteral("ggge年m月d日"));
}

class LedgerSource : public ReportSource {
public:
    explicit LedgerSource(const MemberLeave& leave)
        : m_rows(ledgerRows(leave.ledger(), [](const QDate& day) {
            return formatEraDate(day, QStringLiteral("ge.m.d"));
        }))
    {
    }

    void dataInitialize(ReportFields& fields) override
    {
        for (const Column& column : kColumns)
            fields.declare(QLatin1String(column.field));
    }

    bool fetchData(ReportFields& fields, ReportStyle&) override
    {
        if (m_next >= m_rows.size())
            return true;
        const QStringList& row = m_rows[m_next++];
        for (qsizetype i = 0; i < row.size(); ++i)
            fields.set(QLatin1String(kColumns[i].field), row[i]);
        return false;
    }

private:
    std::vector<QStringList> m_rows;
    size_t m_next = 0;
};

} // namespace

ReportDocument leaveLedgerReport(const MemberLeave& leave, const QDate& today)
{
    const ReportFont font{kMincho, 9};
    const MemberConditions& c = leave.conditions();
    const QString member =
        QStringLiteral("%1 %2　入社日 %3%4　週所定 %5日 %6時間　%7現在")
            .arg(leave.member().staffCd, leave.member().staffNm,
                 c.nyusyaDt.isValid() ? eraDate(c.nyusyaDt) : QStringLiteral("なし"),
                 c.taisyokuDt.isValid() ? QStringLiteral("　退職日 ") + eraDate(c.taisyokuDt)
                                        : QString())
            .arg(c.syuNissu)
            .arg(c.syuJikan)
            .arg(eraDate(leave.asOf()));
    ReportDefinition d;
    d.pageHeader = {QStringLiteral("PageHeader"), 1300, {}, {QLine(0, 1280, 10488, 1280)}};
    d.pageHeader.texts = {reportLabel(QStringLiteral("lbl_title"),
                                      QStringLiteral("年次有給休暇管理簿"), {0, 0, 10488, 360},
                                      {kMincho, 14}),
                          reportLabel(QStringLiteral("lbl_member"), member, {0, 520, 10488, 300},
                                      {kMincho, 10}, Qt::AlignLeft)};
    const QStringList captions = ledgerColumns();
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        const Column& column = kColumns[i];
        d.pageHeader.texts.push_back(
            reportLabel(QStringLiteral("lbl_%1").arg(column.field), captions[qsizetype(i)],
                        {column.left, 960, column.width, 300}, font, column.alignment));
    }
    d.detail = {QStringLiteral("Detail"), 300, {}, {}};
    for (const Column& column : kColumns) {
        ReportText text =
            reportField(QStringLiteral("txt_%1").arg(column.field), QLatin1String(column.field),
                        {column.left, 20, column.width, 260}, font, column.alignment);
        text.wraps = true; // every date taken is printed
        d.detail.texts.push_back(text);
    }
    d.pageFooter = todayFooter(font);
    d.pageLayout = a4PortraitLayout();
    d.title = QStringLiteral("年次有給休暇管理簿_%1").arg(leave.member().staffCd);
    LedgerSource source(leave);
    return runReport(d, source, today);
}
