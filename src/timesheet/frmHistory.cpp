#include "frmHistory.h"

#include "ChildScreens.h"
#include "Common.h"
#include "HistoryReport.h"
#include "Messages.h"
#include "ReportPreview.h"
#include "ScreenParts.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

QPointer<frmHistory> gfrmHistory;

frmHistory* showHistoryScreen(const MonthHeader& month)
{
    if (gfrmHistory)
        closeScreen(gfrmHistory);
    return showSingle(gfrmHistory, [&month] { return addChild(new frmHistory(month)); });
}

frmHistory::frmHistory(const MonthHeader& month, QWidget* parent)
    : WorkScreen(QStringLiteral("frmHistory"), QStringLiteral("変更履歴"), {10200, 6600},
                 Placement::Centred, parent)
    , m_month(month)
{
    addHeading(this, title(), px(120, 120, 9960, 300));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(120, 540, 9960, 5340));
    m_list->setHeaderLabels({QStringLiteral("日時"), QStringLiteral("利用者"),
                             QStringLiteral("操作"), QStringLiteral("内容")});
    m_list->setRootIsDecorated(false);
    // A change wraps onto as many lines as it takes; nothing is cut. The rows' heights are
    // measured again whenever the column's width changes.
    m_list->setWordWrap(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setColumnWidth(0, px(2000));
    m_list->setColumnWidth(1, px(1200));
    m_list->setColumnWidth(2, px(1500));
    connect(m_list->header(), &QHeaderView::sectionResized, this, &frmHistory::fitRows);

    runReported(QStringLiteral("Form_Load()"), [this] {
        m_history = loadHistory(openDb(), m_month.staffCd, m_month.syoriDt);
        for (const HistoryEntry& e : m_history) {
            new QTreeWidgetItem(m_list,
                                {historyTimeText(e), e.userNm, historyOperationText(e), e.naiyou});
        }
        fitRows();
    });

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* print =
        addCommandButton(this, 2, QStringLiteral("印刷(&P)"), px(7200, 6000, 1380, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 3, QStringLiteral("終了(&C)"), px(8700, 6000, 1380, 420), onClick);
    setTabChain({m_list, print, close});
    m_list->setFocus();
}

void frmHistory::fitRows()
{
    // The view measures a row by the columns in sight when it lays them out, so each row is told
    // how tall its change is at the column's width now.
    constexpr int kChange = 3;
    const int width = m_list->header()->sectionSize(kChange) - 2 * px(60);
    const QFontMetrics metrics(m_list->font());
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        const int height =
            metrics
                .boundingRect(QRect(0, 0, std::max(width, 1), 0),
                              Qt::TextWordWrap | Qt::TextWrapAnywhere, item->text(kChange))
                .height() +
            metrics.descent();
        item->setSizeHint(0, QSize(m_list->header()->sectionSize(0), height));
    }
    m_list->doItemsLayout();
}

QString frmHistory::title() const
{
    return QStringLiteral("変更履歴　%1 %2　%3")
        .arg(m_month.staffCd, m_month.staffNm, monthCaption(m_month.syoriDt));
}

void frmHistory::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [&] {
        if (index == 3) {
            closeScreen(this);
            return;
        }
        if (m_history.empty()) {
            ShowMsg(kMsgError, QStringLiteral("印刷対象データがありません。"));
            return;
        }
        showReport(historyReport(title(), m_history, QDate::currentDate()), this);
    });
}
