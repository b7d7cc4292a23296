#include "HistoryReport.h"

#include <QStringList>

namespace {

const QString kMincho = QStringLiteral("ＭＳ 明朝");

// One printed line: an entry's first line carries its time, user and operation.
struct HistoryLine {
    QString when;
    QString user;
    QString operation;
    QString change;
};

class HistorySource : public ReportSource {
public:
    explicit HistorySource(const std::vector<HistoryEntry>& history)
    {
        for (const HistoryEntry& e : history) {
            const QString when = historyTimeText(e);
            const QString operation = historyOperationText(e);
            QStringList changes = e.naiyou.split(u'\n');
            for (qsizetype i = 0; i < changes.size(); ++i) {
                m_lines.push_back(i == 0 ? HistoryLine{when, e.userNm, operation, changes[i]}
                                         : HistoryLine{{}, {}, {}, changes[i]});
            }
        }
    }

    void dataInitialize(ReportFields& fields) override
    {
        for (const char* name : {"when", "user", "operation", "change"})
            fields.declare(QLatin1String(name));
    }

    bool fetchData(ReportFields& fields, ReportStyle&) override
    {
        if (m_next >= m_lines.size())
            return true;
        const HistoryLine& line = m_lines[m_next++];
        fields.set(QStringLiteral("when"), line.when);
        fields.set(QStringLiteral("user"), line.user);
        fields.set(QStringLiteral("operation"), line.operation);
        fields.set(QStringLiteral("change"), line.change);
        return false;
    }

private:
    std::vector<HistoryLine> m_lines;
    size_t m_next = 0;
};

} // namespace

QString historyTimeText(const HistoryEntry& entry)
{
    return entry.henkouDt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString historyOperationText(const HistoryEntry& entry)
{
    return entry.sousa + (entry.deletedMember ? QStringLiteral("（削除済みスタッフ）") : QString());
}

ReportDocument historyReport(const QString& title, const std::vector<HistoryEntry>& history,
                             const QDate& today)
{
    const ReportFont font{kMincho, 9};
    ReportDefinition d;
    d.pageHeader = {QStringLiteral("PageHeader"), 900, {}, {QLine(0, 880, 10488, 880)}};
    d.pageHeader.texts = {
        reportLabel(QStringLiteral("lbl_title"), title, {0, 0, 10488, 360}, {kMincho, 14}),
        reportLabel(QStringLiteral("lbl_when"), QStringLiteral("日時"), {0, 560, 1900, 300}, font,
                    Qt::AlignLeft),
        reportLabel(QStringLiteral("lbl_user"), QStringLiteral("利用者"), {1950, 560, 1100, 300},
                    font, Qt::AlignLeft),
        reportLabel(QStringLiteral("lbl_operation"), QStringLiteral("操作"), {3100, 560, 1800, 300},
                    font, Qt::AlignLeft),
        reportLabel(QStringLiteral("lbl_change"), QStringLiteral("内容"), {4950, 560, 5538, 300},
                    font, Qt::AlignLeft)};
    d.detail = {QStringLiteral("Detail"), 270, {}, {}};
    d.detail.texts = {reportField(QStringLiteral("txt_when"), QStringLiteral("when"),
                                  {0, 0, 1900, 260}, font, Qt::AlignLeft),
                      reportField(QStringLiteral("txt_user"), QStringLiteral("user"),
                                  {1950, 0, 1100, 260}, font, Qt::AlignLeft),
                      reportField(QStringLiteral("txt_operation"), QStringLiteral("operation"),
                                  {3100, 0, 1800, 260}, font, Qt::AlignLeft),
                      reportField(QStringLiteral("txt_change"), QStringLiteral("change"),
                                  {4950, 0, 5538, 260}, font, Qt::AlignLeft)};
    d.detail.texts.back().wraps = true; // nothing of a change is cut
    d.pageFooter = todayFooter(font);
    d.pageLayout = a4PortraitLayout();
    d.title = QStringLiteral("変更履歴");
    HistorySource source(history);
    return runReport(d, source, today);
}
