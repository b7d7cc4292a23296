#include "frmYukyu5.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "LeaveStore.h"
#include "MemberLeave.h"
#include "Messages.h"
#include "ScreenParts.h"
#include "frmYukyu.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

QPointer<frmYukyu5> gfrmYukyu5;

frmYukyu5* showFiveDayScreen()
{
    return showSingle(gfrmYukyu5, [] { return addChild(new frmYukyu5(QDate::currentDate())); });
}

namespace {

QString markText(FiveDayDuty::Mark mark)
{
    switch (mark) {
    case FiveDayDuty::Mark::Done:
        return QStringLiteral("達成");
    case FiveDayDuty::Mark::Open:
        break;
    case FiveDayDuty::Mark::DueSoon:
        return QStringLiteral("期限間近");
    case FiveDayDuty::Mark::Overdue:
        return QStringLiteral("期限超過");
    }
    return {};
}

} // namespace

frmYukyu5::frmYukyu5(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmYukyu5"), QStringLiteral("年5日取得状況"), {10200, 7200},
                 Placement::Centred, parent)
    , m_today(today)
{
    addHeading(this,
               QStringLiteral("10日以上付与された有給休暇の、基準日から1年以内の取得状況です"
                              "（%1 現在）。")
                   .arg(slashDate(today)),
               px(120, 120, 9960, 300));
    auto* caption = new QLabel(QStringLiteral("期限の何か月前から知らせるか:"), this);
    caption->setGeometry(px(240, 540, 3000, 345));
    m_warningMonths = new ListField(this);
    m_warningMonths->setObjectName(QStringLiteral("cmb_keikokuTuki"));
    m_warningMonths->setGeometry(px(3300, 540, 1000, 345));
    for (int months = 0; months <= 12; ++months)
        m_warningMonths->addItem(QStringLiteral("%1か月").arg(months), months);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(240, 1020, 9720, 5400));
    m_list->setHeaderLabels({QStringLiteral("ｺｰﾄﾞ"), QStringLiteral("氏名"),
                             QStringLiteral("基準日"), QStringLiteral("期限"),
                             QStringLiteral("取得日数"), QStringLiteral("残り必要日数"),
                             QStringLiteral("状況")});
    m_list->setRootIsDecorated(false);
    for (const auto& [column, width] :
         {std::pair{0, 800}, {1, 2000}, {2, 1400}, {3, 1400}, {4, 1100}, {5, 1500}})
        m_list->setColumnWidth(column, px(width));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* ledger =
        addCommandButton(this, 0, QStringLiteral("管理簿(&Y)"), px(6960, 6600, 1380, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(8580, 6600, 1380, 420), onClick);
    setTabChain({m_warningMonths, m_list, ledger, close});

    runReported(QStringLiteral("Form_Load()"), [this] {
        m_warningMonths->setCurrentIndex(
            m_warningMonths->findData(loadDutyWarningMonths(openDb())));
    });
    connect(m_warningMonths, &QComboBox::currentIndexChanged, this, [this] {
        runReported(QStringLiteral("cmb_keikokuTuki_Click()"), [this] {
            saveDutyWarningMonths(openDb(), m_warningMonths->currentData().toInt());
            showList();
        });
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { cmd_button_Click(0); });
    showList();
    m_list->setFocus();
}

void frmYukyu5::showList()
{
    runReported(QStringLiteral("Data_Disp()"), [this] {
        m_list->clear();
        for (const FiveDayRow& row :
             loadFiveDayList(openDb(), m_today, m_warningMonths->currentData().toInt())) {
            const FiveDayDuty& d = row.duty;
            auto* item = new QTreeWidgetItem(
                m_list, {row.staffCd, row.staffNm, slashDate(d.kijunDt), slashDate(d.dueDate),
                         leaveDaysText(d.taken), leaveDaysText(d.needed), markText(d.mark)});
            for (const int column : {4, 5})
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
            if (d.mark == FiveDayDuty::Mark::Overdue || d.mark == FiveDayDuty::Mark::DueSoon) {
                const QColor colour =
                    d.mark == FiveDayDuty::Mark::Overdue ? QColor(Qt::red) : QColor(0xC0, 0x60, 0);
                QFont bold = item->font(0);
                bold.setBold(true);
                for (int column = 0; column < m_list->columnCount(); ++column) {
                    item->setForeground(column, colour);
                    item->setFont(column, bold);
                }
            }
        }
    });
}

void frmYukyu5::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 6) {
            closeScreen(this);
            return;
        }
        const QTreeWidgetItem* item = m_list->currentItem();
        if (!item) {
            ShowMsg(kMsgError, QStringLiteral("スタッフを一覧から選んでください。"));
            return;
        }
        showLeaveLedgerScreen(item->text(0));
    });
}
