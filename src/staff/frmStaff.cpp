#include "frmStaff.h"

#include "ChildScreens.h"
#include "Common.h"
#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "MonthLog.h"
#include "ScreenParts.h"
#include "TimesheetStore.h"

#include <QPushButton>

QPointer<frmStaff> gfrmStaff;

frmStaff* showStaffScreen()
{
    return showSingle(gfrmStaff, [] { return addChild(new frmStaff); });
}

frmStaff::frmStaff(QWidget* parent)
    : WorkScreen(QStringLiteral("frmStaff"), QStringLiteral("ｽﾀｯﾌﾏｽﾀ"), {6120, 3900},
                 Placement::TopRight, parent)
{
    addHeading(this, QStringLiteral("スタッフの登録を行います。"), px(120, 120, 5880, 300));

    const auto addField = [&](const char* name, int maxLength, const QString& caption, int top,
                              int width) {
        auto* field = new TextField(maxLength, this);
        field->setObjectName(QLatin1String(name));
        field->setCaption(caption);
        field->setGeometry(px(240, top, width, 345));
        return field;
    };
    m_code = addField("txt_staffCd", 4, QStringLiteral("ｽﾀｯﾌｺｰﾄﾞ:"), 600, 2280);
    m_name = addField("txt_staffNm", 20, QStringLiteral("ｽﾀｯﾌ氏名:"), 1035, 5640);
    m_reading = addField("txt_staffKm", 20, QStringLiteral("ﾌﾘｶﾞﾅ:"), 1470, 5640);
    m_code->setLatinInput(Qt::ImhPreferNumbers);

    addGuidance(this,
                QStringLiteral("スタッフコードを入力すると登録済みの氏名とﾌﾘｶﾞﾅが表示されます。"
                               "新しいコードなら氏名とﾌﾘｶﾞﾅを入力して保存ﾎﾞﾀﾝを押します。"
                               "削除すると、そのスタッフの出勤表のデータも消えます。"),
                px(120, 2010, 4320, 1740));

    const auto addButton = [&](int index, const QString& caption, int top) {
        return addCommandButton(this, index, caption, px(4620, top, 1380, 420),
                                [this](int i) { cmd_button_Click(i); });
    };
    QPushButton* save = addButton(0, QStringLiteral("保存(&S)"), 2100);
    QPushButton* remove = addButton(1, QStringLiteral("削除(&D)"), 2640);
    QPushButton* close = addButton(6, QStringLiteral("終了(&C)"), 3240);

    setTabChain({m_code, m_name, m_reading, save, close, remove});

    connect(m_code, &TextField::committed, this, &frmStaff::txt_staffCd_Validate);
    connect(m_name, &TextField::committed, this, [this] { m_editor.setName(m_name->value()); });
    connect(m_reading, &TextField::committed, this,
            [this] { m_editor.setReading(m_reading->value()); });

    new CloseOnDeactivation(this);
    Data_Clear();
    m_code->setFocus();
}

void frmStaff::txt_staffCd_Validate()
{
    runReported(QStringLiteral("txt_staffCd_Validate()"), [this] {
        if (m_editor.lookUp(openDb(), m_code->value()))
            Data_Disp();
    });
}

void frmStaff::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        switch (index) {
        case 0:
            save();
            break;
        case 1:
            remove();
            break;
        case 6:
            closeScreen(this);
            break;
        default:
            break;
        }
    });
}

void frmStaff::save()
{
    const QString refusal = StaffEditor::saveRefusal(m_code->value(), m_name->value());
    if (!refusal.isEmpty()) {
        ShowMsg(kMsgError, refusal);
        return;
    }
    try {
        m_editor.save(openDb());
    } catch (const StaleChange&) {
        const QString question =
            QStringLiteral("%1 の登録内容は、表示した後に他の担当者が変更したため、保存を"
                           "取り止めました。\n最新の内容を読み込みますか？（この画面で入力した"
                           "内容は失われます）")
                .arg(m_editor.record().staffCd);
        if (ShowMsg(kMsgQuestion, question) == kMsgYes) {
            m_editor.reload(openDb());
            Data_Disp();
        }
        return;
    }
    ShowMsg(kMsgInformation, QStringLiteral("保存しました。"));
}

void frmStaff::remove()
{
    const QString refusal = StaffEditor::deleteRefusal(m_code->value());
    if (!refusal.isEmpty()) {
        ShowMsg(kMsgError, refusal);
        return;
    }
    if (ShowMsg(kMsgQuestion, StaffEditor::deleteQuestion()) != kMsgYes)
        return;
    // Months already closed for payroll are named, and asked about once more.
    const std::vector<QString> closed = closedMonths(openDb(), m_code->value());
    if (!closed.empty()) {
        QStringList months;
        for (const QString& month : closed)
            months << monthCaption(month);
        const QString question =
            QStringLiteral("%1 %2 には締め済みの月があります（%3）。それでも削除しますか？")
                .arg(m_code->value(), m_name->value(), months.join(QStringLiteral("、")));
        if (ShowMsg(kMsgQuestion, question) != kMsgYes)
            return;
    }
    try {
        m_editor.remove(openDb());
    } catch (const StaleChange&) {
        ShowMsg(kMsgError, QStringLiteral("%1 %2 の登録内容か月を、表示した後に他の担当者が変更"
                                          "したため、削除を取り止めました。内容を確かめてから、"
                                          "もう一度削除してください。")
                               .arg(m_code->value(), m_name->value()));
        m_editor.reload(openDb());
        Data_Disp();
        return;
    }
    ShowMsg(kMsgInformation, QStringLiteral("削除しました。"));
    Data_Clear();
}

void frmStaff::Data_Clear()
{
    m_code->setValue(QString());
    m_name->setValue(QString());
    m_reading->setValue(QString());
}

void frmStaff::Data_Disp()
{
    const StaffRecord& rec = m_editor.record();
    m_code->setValue(rec.staffCd);
    m_name->setValue(rec.staffNm);
    m_reading->setValue(rec.staffKm);
}
