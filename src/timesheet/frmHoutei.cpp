#include "frmHoutei.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "LegalStore.h"
#include "Messages.h"
#include "ScreenParts.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <cmath>

QPointer<frmHoutei> gfrmHoutei;

frmHoutei* showLegalSettingsScreen()
{
    return showSingle(gfrmHoutei, [] { return addChild(new frmHoutei); });
}

namespace {

const QStringList kWeekdays{QStringLiteral("月曜日"), QStringLiteral("火曜日"),
                            QStringLiteral("水曜日"), QStringLiteral("木曜日"),
                            QStringLiteral("金曜日"), QStringLiteral("土曜日"),
                            QStringLiteral("日曜日")};

} // namespace

frmHoutei::frmHoutei(QWidget* parent)
    : WorkScreen(QStringLiteral("frmHoutei"), QStringLiteral("法定労働時間の設定"), {7200, 6300},
                 Placement::Centred, parent)
{
    addHeading(this, QStringLiteral("法定労働時間と36協定の計算を設定します。"),
               px(120, 120, 6960, 300));
    m_enabled = new QCheckBox(QStringLiteral("法定労働時間と36協定を計算する(&E)"), this);
    m_enabled->setObjectName(QStringLiteral("chk_houtei"));
    m_enabled->setGeometry(px(240, 540, 6000, 345));

    int top = 1000;
    const auto caption = [&](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setGeometry(px(240, top, 2400, 345));
    };
    const auto list = [&](const char* name, const QString& text, const QStringList& items,
                          int firstData) {
        caption(text);
        auto* field = new ListField(this);
        field->setObjectName(QLatin1String(name));
        field->setGeometry(px(2700, top, 4200, 345));
        for (int i = 0; i < items.size(); ++i)
            field->addItem(items[i], firstData + i);
        top += 435;
        return field;
    };
    const auto hours = [&](const char* name, const QString& text) {
        caption(text);
        auto* field = new NumberField(3, this);
        field->setObjectName(QLatin1String(name));
        field->setGeometry(px(2700, top, 1500, 345));
        top += 435;
        return field;
    };
    m_weekStart = list("cmb_kisanbi", QStringLiteral("週の起算日:"), kWeekdays, 1);
    m_legalHoliday = list("cmb_houteiKyujitu", QStringLiteral("法定休日:"),
                          QStringList{QStringLiteral("なし")} + kWeekdays, 0);
    m_breakRule = list("cmb_kyukei", QStringLiteral("休憩:"),
                       {QStringLiteral("1時間超の日は1時間（出勤表と同じ）"),
                        QStringLiteral("法定の最低（6時間超45分・8時間超1時間）")},
                       0);
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months << QStringLiteral("%1月").arg(month);
    m_firstMonth = list("cmb_kisanTuki", QStringLiteral("36協定の起算月:"), months, 1);
    m_monthlyLimit = hours("txt_tukiGendo", QStringLiteral("月の限度時間:"));
    m_yearlyLimit = hours("txt_nenGendo", QStringLiteral("年の限度時間:"));
    m_specialClause = new QCheckBox(QStringLiteral("特別条項あり(&T)"), this);
    m_specialClause->setObjectName(QStringLiteral("chk_tokubetu"));
    m_specialClause->setGeometry(px(240, top, 2400, 345));
    top += 435;
    m_specialYearlyLimit = hours("txt_tokubetuNen", QStringLiteral("特別条項の年の上限:"));
    addGuidance(this,
                QStringLiteral("特別条項ありでは、月100時間未満（休日労働を含む）、2～6か月平均80"
                               "時間以内、月の限度時間を超えるのは年6回までも確かめます。"
                               "上限の70%で注意、90%で警告です。"),
                px(240, top, 4560, 6300 - top - 120));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* save =
        addCommandButton(this, 0, QStringLiteral("保存(&S)"), px(5400, 5160, 1500, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(5400, 5700, 1500, 420), onClick);
    setTabChain({m_enabled, m_weekStart, m_legalHoliday, m_breakRule, m_firstMonth, m_monthlyLimit,
                 m_yearlyLimit, m_specialClause, m_specialYearlyLimit, save, close});
    runReported(QStringLiteral("Form_Load()"), [this] {
        m_settings = loadLegalSettings(openDb());
        showSettings(m_settings);
    });
    m_enabled->setFocus();
}

void frmHoutei::showSettings(const LegalSettings& s)
{
    m_enabled->setChecked(s.enabled);
    m_weekStart->setCurrentIndex(m_weekStart->findData(int(s.rules.weekStart)));
    m_legalHoliday->setCurrentIndex(
        m_legalHoliday->findData(s.rules.legalHoliday ? int(*s.rules.legalHoliday) : 0));
    m_breakRule->setCurrentIndex(m_breakRule->findData(int(s.rules.breakRule)));
    m_firstMonth->setCurrentIndex(m_firstMonth->findData(s.agreement.firstMonth));
    m_monthlyLimit->setValue(s.agreement.monthlyLimit / 60.0);
    m_yearlyLimit->setValue(s.agreement.yearlyLimit / 60.0);
    m_specialClause->setChecked(s.agreement.specialClause);
    m_specialYearlyLimit->setValue(s.agreement.specialYearlyLimit / 60.0);
}

LegalSettings frmHoutei::shown() const
{
    LegalSettings s = m_settings;
    const auto minutes = [](const NumberField* field) {
        return int(std::lround(field->value().value_or(0) * 60));
    };
    s.enabled = m_enabled->isChecked();
    s.rules.weekStart = Qt::DayOfWeek(m_weekStart->currentData().toInt());
    const int holiday = m_legalHoliday->currentData().toInt();
    s.rules.legalHoliday =
        holiday == 0 ? std::nullopt : std::optional<Qt::DayOfWeek>(Qt::DayOfWeek(holiday));
    s.rules.breakRule = BreakRule(m_breakRule->currentData().toInt());
    s.agreement.firstMonth = m_firstMonth->currentData().toInt();
    s.agreement.monthlyLimit = minutes(m_monthlyLimit);
    s.agreement.yearlyLimit = minutes(m_yearlyLimit);
    s.agreement.specialClause = m_specialClause->isChecked();
    s.agreement.specialYearlyLimit = minutes(m_specialYearlyLimit);
    return s;
}

void frmHoutei::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 6) {
            closeScreen(this);
            return;
        }
        const LegalSettings settings = shown();
        if (settings.agreement.monthlyLimit <= 0 || settings.agreement.yearlyLimit <= 0 ||
            settings.agreement.specialYearlyLimit <= 0) {
            ShowMsg(kMsgError, QStringLiteral("限度時間を入力してください。"));
            return;
        }
        saveLegalSettings(openDb(), settings);
        m_settings = settings;
        ShowMsg(kMsgInformation,
                QStringLiteral("保存しました。次に開く勤怠入力の月から使われます。"));
    });
}
