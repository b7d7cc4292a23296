#include "frmJyouken.h"

#include "ChildScreens.h"
#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "Period.h"
#include "ScreenParts.h"
#include "frmKintaiEnt1.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

QPointer<frmJyouken> gfrmJyouken;

frmJyouken* showPeriodScreen()
{
    return showSingle(gfrmJyouken, [] { return addChild(new frmJyouken); });
}

frmJyouken::frmJyouken(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmJyouken"), QStringLiteral("条件指定画面"), {6600, 3720},
                 Placement::Centred, parent)
{
    addHeading(this, QStringLiteral("期間と月度の指定を行います。"), px(120, 120, 6360, 300));

    m_syoriDt = new DateField(DateField::Pattern::Month, this);
    m_syoriDt->setObjectName(QStringLiteral("txt_syoriDt"));
    m_syoriDt->setCaption(QStringLiteral("処理年月："));
    m_syoriDt->setGeometry(px(240, 600, 2280, 345));

    auto* periodLabel = new QLabel(QStringLiteral("対象期間："), this);
    periodLabel->setObjectName(QStringLiteral("lbl_title_19"));
    periodLabel->setGeometry(px(240, 1080, 1080, 345));
    m_kikanSt = new DateField(DateField::Pattern::Day, this);
    m_kikanSt->setObjectName(QStringLiteral("txt_kikanSt"));
    m_kikanSt->setGeometry(px(1320, 1080, 2040, 345));
    auto* tilde = new QLabel(QStringLiteral("～"), this);
    tilde->setObjectName(QStringLiteral("lbl_title_20"));
    tilde->setAlignment(Qt::AlignCenter);
    tilde->setGeometry(px(3360, 1080, 360, 345));
    m_kikanEn = new DateField(DateField::Pattern::Day, this);
    m_kikanEn->setObjectName(QStringLiteral("txt_kikanEn"));
    m_kikanEn->setGeometry(px(3720, 1080, 2040, 345));

    addGuidance(this, QStringLiteral("勤怠の入力を行いたい月度と期間を入力し実行ﾎﾞﾀﾝを押します。"),
                px(120, 1680, 4440, 1860));

    const auto addButton = [&](int index, const QString& caption, int top) {
        return addCommandButton(this, index, caption, px(4800, top, 1560, 420),
                                [this](int i) { cmd_button_Click(i); });
    };
    QPushButton* run = addButton(2, QStringLiteral("実行(&E)"), 2400);
    QPushButton* cancel = addButton(3, QStringLiteral("ｷｬﾝｾﾙ(&C)"), 3000);

    setTabChain({m_syoriDt, m_kikanSt, m_kikanEn, run, cancel});

    const PeriodChoice defaults = defaultPeriod(today);
    m_kikanSt->setValue(defaults.first);
    m_kikanEn->setValue(defaults.last);
    m_syoriDt->setValue(defaults.month);

    m_syoriDt->setFocus();
}

bool frmJyouken::kikan_check()
{
    const QString refusal = periodRefusal(m_kikanSt->value(), m_kikanEn->value());
    if (refusal.isEmpty())
        return true;
    ShowMsg(kMsgError, refusal);
    return false;
}

void frmJyouken::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 2)
            execute();
        else if (index == 3)
            closeScreen(this);
    });
}

void frmJyouken::execute()
{
    if (!kikan_check())
        return;
    // Out of use while the timesheet entry screen opens with the values handed to it.
    setEnabled(false);
    auto backInUse = qScopeGuard([this] { setEnabled(true); });
    // The clerk who stays with an unsaved month keeps this screen and what was typed in it.
    if (!openTimesheetScreen(m_syoriDt->valueText(), m_kikanSt->value(), m_kikanEn->value()))
        return;
    backInUse.dismiss();
    closeScreen(this);
}
