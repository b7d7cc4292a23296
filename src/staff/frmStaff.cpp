#include "frmStaff.h"

#include "ChildScreens.h"
#include "Common.h"
#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "MonthLog.h"
#include "ScreenParts.h"
#include "TimesheetStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

QPointer<frmStaff> gfrmStaff;

frmStaff* showStaffScreen()
{
    return showSingle(gfrmStaff, [] { return addChild(new frmStaff); });
}

frmStaff::frmStaff(QWidget* parent)
    : WorkScreen(QStringLiteral("frmStaff"), QStringLiteral("ｽﾀｯﾌﾏｽﾀ"), {6120, 5070},
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

    // A date that may be unset: its box says whether the member has one.
    const auto addOptionalDate = [&](QCheckBox*& box, DateField*& field, const QString& caption,
                                     const char* name, int left) {
        box = new QCheckBox(caption, this);
        box->setGeometry(px(left, 1905, 1120, 345));
        field = new DateField(DateField::Pattern::Day, this);
        field->setObjectName(QLatin1String(name));
        field->setGeometry(px(left + 1120, 1905, 1560, 345));
        field->setValue(QDate::currentDate());
        connect(box, &QCheckBox::toggled, field, &QWidget::setEnabled);
    };
    addOptionalDate(m_hired, m_nyusyaDt, QStringLiteral("入社日(&J)"), "txt_nyusyaDt", 240);
    m_hired->setObjectName(QStringLiteral("chk_nyusyaDt"));
    addOptionalDate(m_left, m_taisyokuDt, QStringLiteral("退職日(&T)"), "txt_taisyokuDt", 3200);
    m_left->setObjectName(QStringLiteral("chk_taisyokuDt"));

    auto* daysCaption = new QLabel(QStringLiteral("週所定日数:"), this);
    daysCaption->setGeometry(px(240, 2340, 1000, 345));
    m_syuNissu = new ListField(this);
    m_syuNissu->setObjectName(QStringLiteral("cmb_syuNissu"));
    m_syuNissu->setGeometry(px(1240, 2340, 700, 345));
    for (int days = 1; days <= 7; ++days)
        m_syuNissu->addItem(QString::number(days), days);
    m_syuJikan = new NumberField(2, this);
    m_syuJikan->setObjectName(QStringLiteral("txt_syuJikan"));
    m_syuJikan->setCaption(QStringLiteral("週所定時間:"));
    m_syuJikan->setGeometry(px(2040, 2340, 1860, 345));
    m_hiJikan = new NumberField(2, this);
    m_hiJikan->setObjectName(QStringLiteral("txt_hiJikan"));
    m_hiJikan->setCaption(QStringLiteral("1日所定時間:"));
    m_hiJikan->setGeometry(px(3960, 2340, 1920, 345));

    addGuidance(this,
                QStringLiteral("スタッフコードを入力すると登録済みの氏名とﾌﾘｶﾞﾅが表示されます。"
                               "新しいコードなら氏名とﾌﾘｶﾞﾅを入力して保存ﾎﾞﾀﾝを押します。"
                               "入社日と所定労働日数・時間から有給休暇が付与されます。"
                               "削除すると、そのスタッフの出勤表のデータも消えます。"),
                px(120, 2880, 4320, 2040));

    const auto addButton = [&](int index, const QString& caption, int top) {
        return addCommandButton(this, index, caption, px(4620, top, 1380, 420),
                                [this](int i) { cmd_button_Click(i); });
    };
    QPushButton* save = addButton(0, QStringLiteral("保存(&S)"), 2970);
    QPushButton* remove = addButton(1, QStringLiteral("削除(&D)"), 3510);
    QPushButton* close = addButton(6, QStringLiteral("終了(&C)"), 4410);

    setTabChain({m_code, m_name, m_reading, m_hired, m_nyusyaDt, m_left, m_taisyokuDt, m_syuNissu,
                 m_syuJikan, m_hiJikan, save, close, remove});

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
    m_editor.setConditions(shownConditions());
    if (const QString wrong = m_editor.conditionsRefusal(); !wrong.isEmpty()) {
        ShowMsg(kMsgError, wrong);
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
    // So are months the law says must still be kept.
    if (const QString keeping = m_editor.keepingQuestion(openDb(), QDate::currentDate());
        !keeping.isEmpty() && ShowMsg(kMsgQuestion, keeping) != kMsgYes)
        return;
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
    showConditions(MemberConditions{});
}

void frmStaff::Data_Disp()
{
    const StaffRecord& rec = m_editor.record();
    m_code->setValue(rec.staffCd);
    m_name->setValue(rec.staffNm);
    m_reading->setValue(rec.staffKm);
    showConditions(m_editor.conditions());
}

void frmStaff::showConditions(const MemberConditions& c)
{
    m_hired->setChecked(c.nyusyaDt.isValid());
    m_nyusyaDt->setEnabled(c.nyusyaDt.isValid());
    m_nyusyaDt->setValue(c.nyusyaDt.isValid() ? c.nyusyaDt : QDate::currentDate());
    m_left->setChecked(c.taisyokuDt.isValid());
    m_taisyokuDt->setEnabled(c.taisyokuDt.isValid());
    m_taisyokuDt->setValue(c.taisyokuDt.isValid() ? c.taisyokuDt : QDate::currentDate());
    m_syuNissu->setCurrentIndex(m_syuNissu->findData(c.syuNissu));
    m_syuJikan->setValue(c.syuJikan);
    m_hiJikan->setValue(c.hiJikan);
}

MemberConditions frmStaff::shownConditions() const
{
    MemberConditions c = m_editor.conditions();
    c.nyusyaDt = m_hired->isChecked() ? m_nyusyaDt->value() : QDate();
    c.taisyokuDt = m_left->isChecked() ? m_taisyokuDt->value() : QDate();
    c.syuNissu = m_syuNissu->currentData().toInt();
    c.syuJikan = m_syuJikan->value().value_or(0);
    c.hiJikan = m_hiJikan->value().value_or(0);
    return c;
}
