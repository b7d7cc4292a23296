#include "frmCalendar.h"

#include "CalendarStore.h"
#include "ChildScreens.h"
#include "Common.h"
#include "Database.h"
#include "Holidays.h"
#include "InputFields.h"
#include "Messages.h"
#include "Records.h"
#include "Revisions.h"
#include "ScreenParts.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

QPointer<frmCalendar> gfrmCalendar;

frmCalendar* showCalendarScreen()
{
    return showSingle(gfrmCalendar, [] { return addChild(new frmCalendar(QDate::currentDate())); });
}

frmCalendar::frmCalendar(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmCalendar"), QStringLiteral("会社カレンダー"), {6600, 7080},
                 Placement::Centred, parent)
{
    addHeading(this, QStringLiteral("会社の休日を登録します。"), px(120, 120, 6360, 300));
    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* previous =
        addCommandButton(this, 3, QStringLiteral("前年(&B)"), px(240, 540, 1080, 360), onClick);
    m_yearLabel = new QLabel(this);
    m_yearLabel->setObjectName(QStringLiteral("lbl_year"));
    m_yearLabel->setAlignment(Qt::AlignCenter);
    m_yearLabel->setGeometry(px(1440, 540, 1800, 360));
    QPushButton* next =
        addCommandButton(this, 4, QStringLiteral("翌年(&N)"), px(3360, 540, 1080, 360), onClick);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(240, 1020, 4440, 3420));
    m_list->setHeaderLabels(
        {QStringLiteral("日付"), QStringLiteral("曜日"), QStringLiteral("名称")});
    m_list->setRootIsDecorated(false);
    m_list->setColumnWidth(0, px(1500));
    m_list->setColumnWidth(1, px(600));

    m_day = new DateField(DateField::Pattern::Day, this);
    m_day->setObjectName(QStringLiteral("txt_kyujituDt"));
    m_day->setCaption(QStringLiteral("日付："));
    m_day->setGeometry(px(240, 4560, 2280, 345));
    m_day->setValue(today);
    m_name = new TextField(10, this);
    m_name->setObjectName(QStringLiteral("txt_kyujituNm"));
    m_name->setCaption(QStringLiteral("名称："));
    m_name->setGeometry(px(2640, 4560, 2040, 345));

    m_restDays = new QCheckBox(QStringLiteral("祝日・会社休日を公休日とする(&K)"), this);
    m_restDays->setObjectName(QStringLiteral("chk_syukujituKoukyu"));
    m_restDays->setGeometry(px(240, 5040, 4440, 345));
    addGuidance(
        this,
        QStringLiteral("チェックを入れると、保存されていない月を開いたとき、祝日と会社の休日が"
                       "公休日になり、週40時間勤務上限の計算から外れます。保存済みの月は"
                       "変わりません。"),
        px(240, 5400, 4440, 1560));

    QPushButton* add =
        addCommandButton(this, 0, QStringLiteral("追加(&A)"), px(4920, 4560, 1380, 420), onClick);
    QPushButton* remove =
        addCommandButton(this, 1, QStringLiteral("削除(&D)"), px(4920, 1020, 1380, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(4920, 6540, 1380, 420), onClick);
    setTabChain({m_day, m_name, add, m_restDays, close, m_list, remove, previous, next});

    showYear(today.year());
    connect(m_restDays, &QCheckBox::toggled, this, [this](bool on) {
        runReported(QStringLiteral("chk_syukujituKoukyu_Click()"), [this, on] {
            if (changeCalendar(QStringLiteral("設定の変更"), [on](Database& db, int revision) {
                    return setHolidaysAreRestDays(db, on, revision);
                })) {
                m_shownRestDays = on;
                return;
            }
            const QSignalBlocker shown(m_restDays); // the setting as shown, not as asked
            m_restDays->setChecked(m_shownRestDays);
        });
    });
    m_day->setFocus();
}

void frmCalendar::showYear(int year)
{
    runReported(QStringLiteral("showYear()"), [this, year] {
        Database& db = openDb();
        Snapshot read(db);
        const OfficeCalendarEntries office =
            loadOfficeCalendar(db, QDate(year, 1, 1), QDate(year, 12, 31));
        m_revision = calendarRevision(db);
        read.end();
        const std::vector<CompanyDayOff>& days = office.daysOff;
        const bool restDays = office.holidaysAreRestDays;
        {
            const QSignalBlocker shown(m_restDays); // shown, not changed
            m_restDays->setChecked(restDays);
        }
        m_shownRestDays = restDays;
        m_year = year;
        m_yearLabel->setText(QStringLiteral("%1年").arg(year));
        m_list->clear();
        for (const CompanyDayOff& day : days) {
            auto* item = new QTreeWidgetItem(
                m_list,
                {slashDate(day.kyujituDt), weekdayCaption(weekday(day.kyujituDt)), day.kyujituNm});
            item->setData(0, Qt::UserRole, day.kyujituDt);
            item->setForeground(1, QColor(dayRgb(day.kyujituDt)));
            item->setToolTip(0, JapaneseHolidayName(day.kyujituDt));
        }
    });
}

void frmCalendar::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        switch (index) {
        case 0:
            add();
            break;
        case 1:
            remove();
            break;
        case 3:
            showYear(m_year - 1);
            break;
        case 4:
            showYear(m_year + 1);
            break;
        case 6:
            closeScreen(this);
            break;
        default:
            break;
        }
    });
}

void frmCalendar::add()
{
    if (m_name->value().trimmed().isEmpty()) {
        ShowMsg(kMsgError, QStringLiteral("休日の名称を入力してください。"));
        m_name->setFocus();
        return;
    }
    const CompanyDayOff day{m_day->value(), m_name->value().trimmed()};
    if (changeCalendar(QStringLiteral("追加"), [&day](Database& db, int revision) {
            return saveCompanyDayOff(db, day, revision);
        }))
        showYear(day.kyujituDt.year());
}

void frmCalendar::remove()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        ShowMsg(kMsgError, QStringLiteral("削除する休日を一覧から選んでください。"));
        return;
    }
    if (ShowMsg(kMsgQuestion, QStringLiteral("削除してよろしいでしょうか？")) != kMsgYes)
        return;
    const QDate day = selected.first()->data(0, Qt::UserRole).toDate();
    if (changeCalendar(QStringLiteral("削除"), [&day](Database& db, int revision) {
            return deleteCompanyDayOff(db, day, revision);
        }))
        showYear(m_year);
}

bool frmCalendar::changeCalendar(const QString& change,
                                 const std::function<int(Database&, int)>& work)
{
    try {
        m_revision = work(openDb(), m_revision);
        return true;
    } catch (const StaleChange&) {
    }
    const QString question =
        QStringLiteral(
            "会社カレンダーは、表示した後に他の担当者が変更したため、%1を取り止めました。"
            "\n最新の内容を読み込みますか？")
            .arg(change);
    if (ShowMsg(kMsgQuestion, question) == kMsgYes)
        showYear(m_year);
    return false;
}
