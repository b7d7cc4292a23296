#include "frmKintaiEnt1.h"

#include "ChildScreens.h"
#include "Common.h"
#include "FocusMover.h"
#include "Holidays.h"
#include "InputFields.h"
#include "Messages.h"
#include "Progress.h"
#include "ProgressWork.h"
#include "ReportPreview.h"
#include "ScreenParts.h"
#include "TimesheetStore.h"
#include "TrashBin.h"
#include "frmHistory.h"
#include "frmKensaku.h"
#include "frmStaff.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>

QPointer<frmKintaiEnt1> gfrmKintaiEnt1;

namespace {

// Measures in twips.
constexpr int kWidth = 13200;
constexpr int kHeight = 9480;
constexpr int kRowTop = 2010;
constexpr int kRowPitch = 345;
constexpr int kRowsInLeftBlock = 16;
constexpr int kLeftBlock = 120;
constexpr int kRightBlock = 6600;

struct Column {
    const char* title;
    int width;
};
enum ColumnIndex { Date, Week, Class, In, Out, Basic, Overtime, LateNight, Break, ColumnCount };
// The hour columns are as wide as their month totals need for 999.99.
constexpr std::array<Column, ColumnCount> kColumns{{{"日付", 360},
                                                    {"曜日", 360},
                                                    {"出勤区分", 1260},
                                                    {"出勤", 720},
                                                    {"退社", 720},
                                                    {"基本", 750},
                                                    {"残業", 750},
                                                    {"深夜", 750},
                                                    {"休憩", 750}}};

const QColor kBandCyan(192, 255, 255);
const QColor kListYellow(255, 255, 192);

constexpr int columnLeft(int blockLeft, int column)
{
    int left = blockLeft;
    for (int c = 0; c < column; ++c)
        left += kColumns[c].width;
    return left;
}

constexpr int blockWidth()
{
    return columnLeft(0, ColumnCount);
}
// Both blocks stand side by side inside the screen.
static_assert(kLeftBlock + blockWidth() < kRightBlock &&
              kRightBlock + blockWidth() <= kWidth - 120);

// Where grid row n (1 to 31) stands: its block's left edge and its top.
QPoint rowOrigin(int n)
{
    const bool left = n <= kRowsInLeftBlock;
    const int slot = left ? n - 1 : n - kRowsInLeftBlock - 1;
    return {left ? kLeftBlock : kRightBlock, kRowTop + slot * kRowPitch};
}

// The general number form: up to 15 significant digits, no trailing zeros.
QString generalNumber(double value)
{
    return QString::number(value, 'g', 15);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

frmKintaiEnt1* openTimesheetScreen(const QString& syoriDt, const QDate& kikanSt,
                                   const QDate& kikanEn)
{
    if (gfrmKintaiEnt1) {
        closeScreen(gfrmKintaiEnt1);
        if (gfrmKintaiEnt1->isVisible())
            return nullptr; // the clerk stays with the unsaved month
        gfrmKintaiEnt1.clear();
    }
    TimesheetMonth month(syoriDt, kikanSt, kikanEn);
    runWithProgress([&month](Database& db) { month.loadFirst(db); });
    return showSingle(gfrmKintaiEnt1,
                      [&month] { return addChild(new frmKintaiEnt1(std::move(month))); });
}

frmKintaiEnt1::frmKintaiEnt1(TimesheetMonth month, QWidget* parent)
    : WorkScreen(QStringLiteral("frmKintaiEnt1"), QStringLiteral("勤怠入力"), {kWidth, kHeight},
                 Placement::Centred, parent)
    , m_month(std::move(month))
{
    buildHeader();
    buildGrid();
    buildFooter();
    setKeyboardOrder();

    showWholeMonth();
    m_staffCd->setFocus();
}

void frmKintaiEnt1::buildHeader()
{
    addHeading(this,
               QStringLiteral("スタッフの勤怠を入力します。　出勤、退社時間を入力すると各時間数は"
                              "自動集計されます。"),
               px(120, 120, kWidth - 240, 300));

    auto* frame = new QGroupBox(QStringLiteral("基本情報"), this);
    frame->setObjectName(QStringLiteral("obj_frame_kihon"));
    frame->setGeometry(px(120, 480, kWidth - 240, 840));

    constexpr int top = 900;
    constexpr int height = 345;
    auto* idLabel = new QLabel(QStringLiteral("ｽﾀｯﾌID："), this);
    idLabel->setGeometry(px(240, top, 900, height));

    m_staffCd = new TextField(4, this);
    m_staffCd->setObjectName(QStringLiteral("txt_staffCd"));
    m_staffCd->setGeometry(px(1140, top, 720, height));
    m_staffCd->setLatinInput(Qt::ImhPreferNumbers);
    new StaffCodeDrag(m_staffCd);
    connect(m_staffCd, &TextField::committed, this, &frmKintaiEnt1::txt_staffCd_Validate);

    m_staffNm = new TextField(20, this);
    m_staffNm->setObjectName(QStringLiteral("txt_staffNm"));
    m_staffNm->setGeometry(px(1920, top, 2280, height));
    m_staffNm->setReadOnly(true);

    const QSize pictureSize(px(420), px(375));
    const auto addPicture = [&](const char* name, QStyle::StandardPixmap picture, int left,
                                const QString& tip, std::function<void()> onClick) {
        QPushButton* button =
            addScreenButton(this, QLatin1String(name), QString(),
                            QRect(QPoint(px(left), px(top - 15)), pictureSize), std::move(onClick));
        button->setIcon(style()->standardIcon(picture));
        button->setToolTip(tip);
        return button;
    };
    addPicture("cmd_BACK", QStyle::SP_ArrowBack, 4260, QStringLiteral("前のスタッフ"),
               [this] { cmd_BACK_Click(); });
    addPicture("cmd_NEXT", QStyle::SP_ArrowForward, 4710, QStringLiteral("次のスタッフ"),
               [this] { cmd_NEXT_Click(); });
    addPicture("cmd_kensaku_1", QStyle::SP_FileDialogContentsView, 5160,
               QStringLiteral("スタッフ検索"), [this] { cmd_kensaku_Click(); });
    addScreenButton(this, QStringLiteral("cmd_staff"), QStringLiteral("ｽﾀｯﾌ登録(&F)"),
                    px(5640, top - 15, 1380, 375),
                    [this] { runReported(QStringLiteral("cmd_staff_Click()"), showStaffScreen); });

    m_syoriDt = new DateField(DateField::Pattern::Month, this);
    m_syoriDt->setObjectName(QStringLiteral("txt_syoriDt"));
    m_syoriDt->setCaption(QStringLiteral("処理年月："));
    m_syoriDt->setGeometry(px(7080, top, 1980, height));

    // The period stands inside the frame, whose right edge is at kWidth - 120.
    auto* periodLabel = new QLabel(QStringLiteral("対象期間："), this);
    periodLabel->setGeometry(px(9120, top, 960, height));
    m_kikanSt = new DateField(DateField::Pattern::Day, this);
    m_kikanSt->setObjectName(QStringLiteral("txt_kikanSt"));
    m_kikanSt->setGeometry(px(10080, top, 1320, height));
    auto* tilde = new QLabel(QStringLiteral("～"), this);
    tilde->setAlignment(Qt::AlignCenter);
    tilde->setGeometry(px(11400, top, 240, height));
    m_kikanEn = new DateField(DateField::Pattern::Day, this);
    m_kikanEn->setObjectName(QStringLiteral("txt_kikanEn"));
    m_kikanEn->setGeometry(px(11640, top, 1320, height));

    // Shown, not edited: the month and period are chosen before the screen opens.
    for (DateField* field : {m_syoriDt, m_kikanSt, m_kikanEn}) {
        field->setReadOnly(true);
        field->setCalendarPopup(false);
        field->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    for (QWidget* field : {static_cast<QWidget*>(m_staffNm), static_cast<QWidget*>(m_syoriDt),
                           static_cast<QWidget*>(m_kikanSt), static_cast<QWidget*>(m_kikanEn)})
        field->setFocusPolicy(Qt::ClickFocus);
}

void frmKintaiEnt1::buildGrid()
{
    for (int blockLeft : {kLeftBlock, kRightBlock}) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto* title = new QLabel(QString::fromUtf8(kColumns[c].title), this);
            title->setAlignment(Qt::AlignCenter);
            title->setFrameShape(QFrame::Panel);
            title->setFrameShadow(QFrame::Raised);
            title->setGeometry(px(columnLeft(blockLeft, c)), px(kRowTop - kRowPitch),
                               px(kColumns[c].width), px(kRowPitch));
        }
    }
    for (int n = 1; n <= kGridRows; ++n) {
        m_grid[n] = makeRow(n);
        bindRow(n);
    }
}

std::array<QWidget*, 6> frmKintaiEnt1::entryFields(const GridRow& row)
{
    return {row.syukinJn, row.taisyaJn, row.kihonJn, row.zangyouJn, row.sinyaJn, row.kyukeiJn};
}

frmKintaiEnt1::GridRow frmKintaiEnt1::makeRow(int n)
{
    const QPoint origin = rowOrigin(n);
    const auto cell = [&](int column) {
        return QRect(px(columnLeft(origin.x(), column)), px(origin.y()), px(kColumns[column].width),
                     px(kRowPitch));
    };
    const auto name = [n](const char* control) {
        return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(n);
    };

    GridRow row;
    row.band = new QLabel(this);
    row.band->setAutoFillBackground(true);
    QPalette bandPalette = row.band->palette();
    bandPalette.setColor(QPalette::Window, n % 2 == 1 ? kBandCyan : QColor(Qt::white));
    row.band->setPalette(bandPalette);
    row.band->setGeometry(px(origin.x()), px(origin.y()), px(blockWidth()), px(kRowPitch));

    row.date = new QLabel(this);
    row.date->setObjectName(name("txt_date"));
    row.date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.date->setGeometry(cell(Date).adjusted(0, 0, -px(60), 0));
    row.week = new QLabel(this);
    row.week->setObjectName(name("txt_week"));
    row.week->setAlignment(Qt::AlignCenter);
    row.week->setGeometry(cell(Week));

    row.syukinKb = new ListField(this);
    row.syukinKb->setObjectName(name("cmb_syukinKb"));
    row.syukinKb->setGeometry(cell(Class));
    for (const DayClass dayClass : {DayClass::Normal, DayClass::HolidayWork, DayClass::Rest})
        row.syukinKb->addItem(dayClassCaption(dayClass), int(dayClass));
    QPalette listPalette = row.syukinKb->palette();
    listPalette.setColor(QPalette::Button, kListYellow);
    listPalette.setColor(QPalette::Base, kListYellow);
    row.syukinKb->setPalette(listPalette);

    row.syukinJn = new ClockField(this);
    row.syukinJn->setObjectName(name("txt_syukinJn"));
    row.syukinJn->setGeometry(cell(In));
    row.taisyaJn = new ClockField(this);
    row.taisyaJn->setObjectName(name("txt_taisyaJn"));
    row.taisyaJn->setGeometry(cell(Out));

    const auto hours = [&](const char* control, int column, int digits) {
        auto* field = new NumberField(digits, this);
        field->setObjectName(name(control));
        field->setGeometry(cell(column));
        field->setFocusPolicy(Qt::ClickFocus); // reached by mouse only
        return field;
    };
    row.kihonJn = hours("txt_kihonJn", Basic, 2);
    row.zangyouJn = hours("txt_zangyouJn", Overtime, 2);
    row.sinyaJn = hours("txt_sinyaJn", LateNight, 2);
    row.kyukeiJn = hours("txt_kyukeiJn", Break, 1);

    if (!m_month.hasRow(n)) {
        // No day of the period: blank, and no input reaches it for the life of the screen.
        row.syukinKb->addItem(QString(), -1);
        row.syukinKb->setCurrentIndex(3);
        row.syukinKb->setEnabled(false);
        for (QWidget* field : entryFields(row))
            field->setEnabled(false);
    }
    return row;
}

std::optional<DayClass> frmKintaiEnt1::chosenClass(int n) const
{
    const QVariant data = m_grid[n].syukinKb->currentData();
    if (!data.isValid() || data.toInt() < 0)
        return std::nullopt;
    return DayClass(data.toInt());
}

void frmKintaiEnt1::bindRow(int n)
{
    const GridRow& row = m_grid[n];
    connect(row.syukinKb, &QComboBox::currentIndexChanged, this, [this, n] {
        runReported(QStringLiteral("cmb_syukinKb_Click(%1)").arg(n), [&] {
            const std::optional<DayClass> chosen = chosenClass(n);
            if (chosen && m_month.selectClass(n, *chosen))
                showTotals();
            showRowTimesAndHours(n, chosen != DayClass::Rest);
        });
    });
    connect(row.syukinKb, &ListField::committed, this, [this, n] {
        runReported(QStringLiteral("cmb_syukinKb_Validate(%1)").arg(n), [&] {
            const std::optional<DayClass> chosen = chosenClass(n);
            if (chosen && m_month.commitClass(n, *chosen))
                showTotals();
        });
    });

    const auto bindClock = [&](ClockField* field, TimesheetMonth::Clock which,
                               const char* handler) {
        connect(field, &ClockField::committed, this, [this, n, field, which, handler] {
            runReported(QStringLiteral("%1(%2)").arg(QLatin1String(handler)).arg(n), [&] {
                if (m_month.commitClock(n, which, field->value())) {
                    showRowTimesAndHours(n, true);
                    showTotals();
                }
                if (const QString refusal = field->refusal(); !refusal.isEmpty()) {
                    ShowMsg(kMsgError, refusal);
                    // The clerk mends the refused time where it was typed, not on the next day.
                    QTimer::singleShot(0, field, [field] {
                        field->setFocus(Qt::OtherFocusReason);
                        field->selectAll();
                    });
                }
            });
        });
    };
    bindClock(row.syukinJn, TimesheetMonth::Clock::In, "txt_syukinJn_Validate");
    bindClock(row.taisyaJn, TimesheetMonth::Clock::Out, "txt_taisyaJn_Validate");

    const auto bindHours = [&](NumberField* field, TimesheetMonth::Hours which,
                               const char* handler) {
        connect(field, &NumberField::committed, this, [this, n, field, which, handler] {
            runReported(QStringLiteral("%1(%2)").arg(QLatin1String(handler)).arg(n), [&] {
                if (!field->value()) {
                    // An emptied figure changes nothing: the row's comes back.
                    showRowTimesAndHours(n, true);
                    return;
                }
                if (m_month.commitHours(n, which, field->value()))
                    showTotals();
            });
        });
    };
    bindHours(row.kihonJn, TimesheetMonth::Hours::Basic, "txt_kihonJn_Validate");
    bindHours(row.zangyouJn, TimesheetMonth::Hours::Overtime, "txt_zangyouJn_Validate");
    bindHours(row.sinyaJn, TimesheetMonth::Hours::LateNight, "txt_sinyaJn_Validate");
    bindHours(row.kyukeiJn, TimesheetMonth::Hours::Break, "txt_kyukeiJn_Validate");
}

void frmKintaiEnt1::buildFooter()
{
    const int totalsTop = kRowTop + (kRowsInLeftBlock - 1) * kRowPitch;

    auto* allowanceLabel = new QLabel(QStringLiteral("週40時間勤務上限："), this);
    allowanceLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    allowanceLabel->setGeometry(px(kRightBlock), px(totalsTop), px(columnLeft(0, Out)),
                                px(kRowPitch));
    m_kihon40 = new QLabel(this);
    m_kihon40->setObjectName(QStringLiteral("txt_kihon40"));
    m_kihon40->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_kihon40->setGeometry(px(columnLeft(kRightBlock, Out)), px(totalsTop),
                           px(kColumns[Out].width - 60), px(kRowPitch));
    // A month on file keeps the allowance it was saved under; when the office's calendar gives
    // another today, that is said here with the offer to take it.
    m_allowanceNotice = new QLabel(this);
    m_allowanceNotice->setObjectName(QStringLiteral("lbl_kihon40_now"));
    m_allowanceNotice->setGeometry(px(kRightBlock + 1200), px(totalsTop + kRowPitch + 120),
                                   px(2700), px(kRowPitch));
    setTextColour(m_allowanceNotice, Qt::red);
    m_recalculate = addCommandButton(this, 6, QStringLiteral("再計算(&K)"),
                                     px(kRightBlock + 3960, totalsTop + kRowPitch + 90, 1200, 405),
                                     [this](int i) { cmd_button_Click(i); });
    m_recalculate->setToolTip(
        QStringLiteral("週40時間勤務上限を今の会社カレンダーで計算し直し、合計を作り直します。"
                       "保存すると確定します。"));

    const std::array<const char*, 4> names{"txt_g_kihonJn", "txt_g_zangyouJn", "txt_g_sinyaJn",
                                           "txt_g_kyukeiJn"};
    for (int i = 0; i < 4; ++i) {
        auto* total = new QLabel(this);
        total->setObjectName(QLatin1String(names[i]));
        total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        total->setFrameShape(QFrame::Box);
        total->setGeometry(px(columnLeft(kRightBlock, Basic + i)), px(totalsTop),
                           px(kColumns[Basic + i].width), px(kRowPitch));
        m_totals[i] = total;
    }

    const int bottomTop = kRowTop + kRowsInLeftBlock * kRowPitch + 180;
    addGuidance(
        this,
        QStringLiteral("土日を除いた基本時間の合計は、「週40時間勤務上限」として集計"
                       "されます。"),
        QRect(px(kLeftBlock), px(bottomTop), px(blockWidth()), px(kHeight - bottomTop - 120)));

    auto* trash = new TrashBin(this);
    trash->setObjectName(QStringLiteral("img_trash"));
    trash->setGeometry(px(kRightBlock + 240, bottomTop + 300, 720, 720));
    connect(trash, &TrashBin::dropped, this, &frmKintaiEnt1::img_trash_Drop);

    const int buttonTop = kHeight - 120 - 420;
    const std::array<std::pair<int, const char*>, 3> buttons{
        {{0, "保存(&S)"}, {2, "印刷(&P)"}, {3, "終了(&C)"}}};
    int left = kWidth - 120 - 3 * 1380 - 2 * 120;
    for (const auto& [index, caption] : buttons) {
        addCommandButton(this, index, QString::fromUtf8(caption), px(left, buttonTop, 1380, 420),
                         [this](int i) { cmd_button_Click(i); });
        left += 1380 + 120;
    }

    // Month end, above 印刷 and 終了: closing the month, and its history.
    const int monthEndTop = buttonTop - 420 - 120;
    const int printLeft = kWidth - 120 - 2 * 1380 - 120;
    m_closeButton = addCommandButton(this, 4, QString(), px(printLeft, monthEndTop, 1380, 420),
                                     [this](int i) { cmd_button_Click(i); });
    addCommandButton(this, 5, QStringLiteral("履歴(&R)"),
                     px(printLeft + 1500, monthEndTop, 1380, 420),
                     [this](int i) { cmd_button_Click(i); });
    m_closedLabel = new QLabel(QStringLiteral("締め済み"), this);
    m_closedLabel->setObjectName(QStringLiteral("lbl_sime"));
    m_closedLabel->setAlignment(Qt::AlignCenter);
    m_closedLabel->setGeometry(px(printLeft - 1500, monthEndTop, 1380, 420));
    QFont font = m_closedLabel->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    m_closedLabel->setFont(font);
    setTextColour(m_closedLabel, Qt::red);
}

void frmKintaiEnt1::setKeyboardOrder()
{
    QList<QWidget*> order{m_staffCd};
    for (int n = 1; n <= kGridRows; ++n)
        order << m_grid[n].syukinKb << m_grid[n].syukinJn << m_grid[n].taisyaJn;
    for (const char* name : {"cmd_button_0", "cmd_button_2", "cmd_button_3", "cmd_BACK", "cmd_NEXT",
                             "cmd_kensaku_1", "cmd_staff", "cmd_button_4", "cmd_button_5"})
        order << findChild<QWidget*>(QLatin1String(name));
    setTabChain(order);
}

void frmKintaiEnt1::showWholeMonth()
{
    const MonthHeader& h = m_month.header();
    m_staffCd->setValue(h.staffCd);
    m_staffNm->setValue(h.staffNm);
    m_syoriDt->setValue(
        QDate::fromString(h.syoriDt + QLatin1String("01"), QStringLiteral("yyyyMMdd")));
    m_kikanSt->setValue(h.kikanSt);
    m_kikanEn->setValue(h.kikanEn);
    for (int n = 1; n <= kGridRows; ++n)
        ShowRow(n);
    showAllowance();
    showTotals();
    m_closedLabel->setVisible(m_month.isClosed());
    m_closeButton->setText(m_month.isClosed() ? QStringLiteral("締め解除(&L)")
                                              : QStringLiteral("締め(&L)"));
    m_closeButton->setEnabled(!h.staffCd.isEmpty());
}

void frmKintaiEnt1::ShowRow(int n)
{
    const GridRow& g = m_grid[n];
    if (!m_month.hasRow(n))
        return;
    const DayRow& row = m_month.row(n);
    g.date->setText(QString::number(row.kintaiDt.day()));
    g.week->setText(weekdayCaption(row.week));
    const QString dayOff = m_month.officeDayOff(row.kintaiDt);
    const QColor dayColour(dayRgb(row.kintaiDt, !dayOff.isEmpty()));
    setTextColour(g.date, dayColour);
    setTextColour(g.week, dayColour);
    g.date->setToolTip(dayNote(row.kintaiDt, dayOff));
    {
        const QSignalBlocker blocker(g.syukinKb); // the class is shown, not chosen
        const std::optional<DayClass> dayClass = readDayClass(row.syukinKb);
        g.syukinKb->setCurrentIndex(dayClass ? g.syukinKb->findData(int(*dayClass)) : -1);
    }
    showRowTimesAndHours(n);
}

void frmKintaiEnt1::showRowTimesAndHours(int n, bool keepUntimedText)
{
    const GridRow& g = m_grid[n];
    if (!m_month.hasRow(n))
        return;
    const DayRow& row = m_month.row(n);
    const bool working = chosenClass(n) != DayClass::Rest;
    for (QWidget* field : entryFields(g))
        field->setEnabled(working && !m_month.isClosed());
    g.syukinKb->setEnabled(!m_month.isClosed());
    // A clock field holding what is no time shows it until the clerk mends it; the row has none.
    for (const auto& [field, time] :
         {std::pair{g.syukinJn, row.syukin}, {g.taisyaJn, row.taisya}}) {
        if (!keepUntimedText || field->value() != time)
            field->setValue(time);
    }
    g.kihonJn->setValue(row.kihon1);
    g.zangyouJn->setValue(row.kihon2);
    g.sinyaJn->setValue(row.kihon3);
    g.kyukeiJn->setValue(row.kihon4);
}

void frmKintaiEnt1::showAllowance()
{
    m_kihon40->setText(generalNumber(m_month.kihon40()));
    const bool differs = m_month.hasMember() && m_month.kihon40() != m_month.calendarKihon40();
    m_allowanceNotice->setText(
        QStringLiteral("今のカレンダーでは %1").arg(generalNumber(m_month.calendarKihon40())));
    m_allowanceNotice->setVisible(differs);
    m_recalculate->setVisible(differs);
    m_recalculate->setEnabled(!m_month.isClosed());
}

void frmKintaiEnt1::showTotals()
{
    const MonthHeader& h = m_month.header();
    const std::array<double, 4> totals{h.kihon1, h.kihon2, h.kihon3, h.kihon4};
    for (int i = 0; i < 4; ++i) {
        m_totals[i]->setText(hoursText(totals[i]));
        m_totals[i]->setToolTip(generalNumber(totals[i])); // the stored figure, unrounded
    }
}

void frmKintaiEnt1::LoadMonth(const QString& handler, const std::function<void(Database&)>& load)
{
    runReported(handler, [&] {
        WaitCursor wait;
        load(openDb());
        showWholeMonth();
    });
}

bool frmKintaiEnt1::confirmLeavingMonth()
{
    if (!m_month.isModified())
        return true;
    switch (
        ShowMsg(kMsgSaveQuestion, QStringLiteral("%1 %2 の勤怠は保存されていません。保存しますか？")
                                      .arg(m_month.header().staffCd, m_month.header().staffNm))) {
    case kMsgYes: {
        bool saved = false;
        runReported(QStringLiteral("cmd_button_Click(0)"), [&] { saved = save(); });
        return saved;
    }
    case kMsgNo:
        return true;
    default:
        return false;
    }
}

void frmKintaiEnt1::closeEvent(QCloseEvent* event)
{
    // The close box, or 実行 on another screen, leaves the field last typed in without a focus
    // move of its own: leaving it for the screen commits it, so the question knows of it.
    if (QWidget* typing = focusWidget(); typing && typing != this) {
        typing->setFocus(Qt::OtherFocusReason);
        setFocus(Qt::OtherFocusReason);
    }
    if (!confirmLeavingMonth()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void frmKintaiEnt1::txt_staffCd_Validate()
{
    // Passing through the field without changing the member keeps the clerk's entries.
    if (padStaffCode(m_staffCd->value()) == m_month.header().staffCd || !confirmLeavingMonth()) {
        m_staffCd->setValue(m_month.header().staffCd);
        return;
    }
    const QString typed = m_staffCd->value();
    LoadMonth(QStringLiteral("txt_staffCd_Validate()"),
              [&](Database& db) { m_month.loadCode(db, typed); });
}

void frmKintaiEnt1::cmd_NEXT_Click()
{
    if (!confirmLeavingMonth())
        return;
    LoadMonth(QStringLiteral("cmd_NEXT_Click()"), [&](Database& db) {
        if (!m_month.loadNext(db))
            ShowMsg(kMsgError, QStringLiteral("最終レコードです。"));
    });
}

void frmKintaiEnt1::cmd_BACK_Click()
{
    if (!confirmLeavingMonth())
        return;
    LoadMonth(QStringLiteral("cmd_BACK_Click()"), [&](Database& db) {
        if (!m_month.loadPrevious(db))
            ShowMsg(kMsgError, QStringLiteral("最終レコードです。"));
    });
}

void frmKintaiEnt1::cmd_kensaku_Click()
{
    gSearchCdCtl = m_staffCd;
    gSearchNmCtl = m_staffNm;
    try {
        showSearchDialog();
    } catch (const std::exception&) {
        gSearchCdCtl.clear();
        gSearchNmCtl.clear();
        ShowMsg(kMsgError, QStringLiteral("データ読み込み時にエラーが発生しました"));
    }
}

void frmKintaiEnt1::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [&] {
        switch (index) {
        case 0:
            save();
            break;
        case 2:
            print();
            break;
        case 3:
            closeScreen(this);
            break;
        case 4:
            closeOrReopen();
            break;
        case 5:
            showHistoryScreen(m_month.header());
            break;
        case 6:
            if (m_month.recalculateAllowance()) {
                showAllowance();
                showTotals();
            }
            break;
        default:
            break;
        }
    });
}

void frmKintaiEnt1::closeOrReopen()
{
    const QString month = m_month.memberMonthCaption();
    const bool reopening = m_month.isClosed();
    if (reopening) {
        if (ShowMsg(kMsgQuestion, month + QStringLiteral("の締めを解除しますか？")) != kMsgYes)
            return;
    } else {
        if (!m_month.isOnFile()) {
            ShowMsg(kMsgError,
                    QStringLiteral("保存されていない月は締められません。先に保存してください。"));
            return;
        }
        if (m_month.isModified()) {
            ShowMsg(kMsgError, QStringLiteral("保存されていない入力があります。保存してから締めて"
                                              "ください。"));
            return;
        }
        if (ShowMsg(kMsgQuestion,
                    month + QStringLiteral(
                                "を締めますか？締めた月は解除するまで変更できません。")) != kMsgYes)
            return;
    }
    const bool changed = changeUnlessStale(
        reopening ? QStringLiteral("締め解除") : QStringLiteral("締め"), [this, reopening] {
            if (reopening)
                m_month.reopen(openDb());
            else
                m_month.close(openDb());
        });
    if (changed)
        showWholeMonth();
}

bool frmKintaiEnt1::changeUnlessStale(const QString& change, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const StaleChange&) {
    } catch (const MemberGone&) {
        ShowMsg(kMsgError, QStringLiteral("%1 %2 は、表示した後に他の担当者がスタッフマスタから"
                                          "削除したため、%3を取り止めました。次のスタッフを"
                                          "表示します。")
                               .arg(m_month.header().staffCd, m_month.header().staffNm, change));
        m_month.reload(openDb());
        showWholeMonth();
        return false;
    }
    const QString question =
        m_month.memberMonthCaption() +
        QStringLiteral("は、表示した後に他の担当者が変更したため、%1を取り止めました。\n"
                       "最新の内容を読み込みますか？（この画面で入力した内容は失われます）")
            .arg(change);
    if (ShowMsg(kMsgQuestion, question) == kMsgYes) {
        m_month.reload(openDb());
        showWholeMonth();
    }
    return false;
}

bool frmKintaiEnt1::save()
{
    const QString refusal = m_month.saveRefusal();
    if (!refusal.isEmpty()) {
        ShowMsg(kMsgError, refusal);
        if (const int n = m_month.isClosed() ? 0 : m_month.firstIncompleteRow()) {
            const GridRow& row = m_grid[n];
            ClockField* missing = row.syukinJn->value().isEmpty() ? row.syukinJn : row.taisyaJn;
            missing->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    TimesheetMonth saved = m_month;
    if (!changeUnlessStale(QStringLiteral("保存"), [&saved] {
            runWithProgress([&saved](Database& db) { saved.save(db); });
        }))
        return false;
    m_month = std::move(saved);
    return true;
}

void frmKintaiEnt1::print()
{
    // The stored month prints: changes not yet saved do not.
    const MonthHeader& h = m_month.header();
    printAttendanceSheets(h.staffCd, h.staffCd, h.syoriDt, this);
}

void frmKintaiEnt1::img_trash_Drop()
{
    runReported(QStringLiteral("img_trash_DragDrop()"), [&] {
        if (const QString refusal = m_month.changeRefusal(); !refusal.isEmpty()) {
            ShowMsg(kMsgError, refusal);
            return;
        }
        if (ShowMsg(kMsgQuestion, QStringLiteral("削除してよろしいでしょうか？")) != kMsgYes)
            return;
        TimesheetMonth month = m_month;
        if (!changeUnlessStale(QStringLiteral("削除"), [&month] {
                runWithProgress([&month](Database& db) { month.deleteWithHistory(db); });
            }))
            return;
        m_month = std::move(month);
        showWholeMonth();
    });
}
