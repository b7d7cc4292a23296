#include "frmInsatu.h"

#include "ChildScreens.h"
#include "Common.h"
#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "MonthLog.h"
#include "Period.h"
#include "ProgressWork.h"
#include "ReportPreview.h"
#include "ScreenParts.h"
#include "TimesheetStore.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

QPointer<frmInsatu> gfrmInsatu;

frmInsatu* showPrintScreen()
{
    return showSingle(gfrmInsatu, [] {
        auto* screen = addChild(new frmInsatu);
        if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
            frame->setWindowFlags(frame->windowFlags() & ~Qt::WindowMinimizeButtonHint);
        return screen;
    });
}

frmInsatu::frmInsatu(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmInsatu"), QStringLiteral("帳票印刷画面"), {6390, 4455},
                 Placement::Centred, parent)
{

    addHeading(this, QStringLiteral("指定したスタッフの出勤表を印刷します。"),
               px(135, 375, 6105, 300));
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(px(0, 885, 6390, 45));

    const MonthAndStaffRange range =
        addMonthAndStaffRange(this, defaultPeriod(today).month, 1395, 2010);
    m_syoriDt = range.month;
    m_staffFrom = range.staffFrom;
    m_staffTo = range.staffTo;

    addGuidance(this, QStringLiteral("印刷を行うスタッフＩＤと対象月度を指定してください。"),
                px(75, 2820, 6210, 975));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* runButton =
        addCommandButton(this, 2, QStringLiteral("実行(&E)"), px(3510, 3915, 1350, 435), onClick);
    QPushButton* cancel =
        addCommandButton(this, 3, QStringLiteral("ｷｬﾝｾﾙ(&C)"), px(4920, 3915, 1350, 435), onClick);

    QPushButton* closeMonths =
        addCommandButton(this, 4, QStringLiteral("締め(&L)"), px(2100, 3915, 1350, 435), onClick);
    setTabChain({m_syoriDt, m_staffFrom, m_staffTo, runButton, cancel, closeMonths});
    m_syoriDt->setFocus();
}

void frmInsatu::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [&] {
        if (index == 2)
            run();
        else if (index == 3)
            closeScreen(this);
        else if (index == 4)
            closeRange();
    });
}

void frmInsatu::closeRange()
{
    const QString month = m_syoriDt->valueText();
    std::vector<HistoryEntry> open;
    for (const PayrollRow& row :
         loadPayrollRows(openDb(), m_staffFrom->value(), m_staffTo->value(), month)) {
        if (!row.closed)
            open.push_back(stampedHistoryEntry(row.staffCd, month, QStringLiteral("締め")));
    }
    if (open.empty()) {
        ShowMsg(kMsgError, QStringLiteral("締める月がありません。"));
        return;
    }
    const QString question =
        QStringLiteral("%1 人分の%2を締めますか？締めた月は解除するまで変更できません。")
            .arg(open.size())
            .arg(monthCaption(month));
    if (ShowMsg(kMsgQuestion, question) != kMsgYes)
        return;
    // One unit: the office's months are closed together or not at all.
    runWithProgress([&open](Database& db) { closeMonths(db, open); });
    ShowMsg(kMsgInformation, QStringLiteral("%1 人分を締めました。").arg(open.size()));
}

void frmInsatu::run()
{
    printAttendanceSheets(m_staffFrom->value(), m_staffTo->value(), m_syoriDt->valueText(), this);
}
