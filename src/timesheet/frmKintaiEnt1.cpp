#include "frmKintaiEnt1.h"

#include "ChildScreens.h"
#include "Common.h"
#include "DayGrid.h"
#include "DayGridLayout.h"
#include "FocusMover.h"
#include "InputFields.h"
#include "Messages.h"
#include "MonitorReport.h"
#include "PaidLeave.h"
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
#include <QStyle>
#include <QVBoxLayout>

QPointer<frmKintaiEnt1> gfrmKintaiEnt1;

using namespace DayGridLayout;

namespace {

// Measures in twips.
constexpr int kWidth = 13200;
constexpr int kHeight = 9480;

// Both blocks stand side by side inside the screen.
static_assert(kLeftBlock + blockWidth() < kRightBlock &&
              kRightBlock + blockWidth() <= kWidth - 120);

// The general number form: up to 15 significant digits, no trailing zeros.
QString generalNumber(double value)
{
    return QString::number(value, 'g', 15);
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
    m_grid = new DayGrid(m_month, this);
    connect(m_grid, &DayGrid::totalsChanged, this, &frmKintaiEnt1::showTotals);
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

void frmKintaiEnt1::buildFooter()
{
    const int totalsTop = kTotalsTop;

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
    m_allowanceNotice->setGeometry(px(kRightBlock + 1560), px(totalsTop + kRowPitch + 120),
                                   px(2340), px(kRowPitch));
    setTextColour(m_allowanceNotice, Qt::red);
    m_recalculate = addCommandButton(this, 6, QStringLiteral("再計算(&K)"),
                                     px(kRightBlock + 3960, totalsTop + kRowPitch + 90, 1200, 405),
                                     [this](int i) { cmd_button_Click(i); });
    m_recalculate->setToolTip(
        QStringLiteral("週40時間勤務上限を今の会社カレンダーで計算し直し、合計を作り直します。"
                       "保存すると確定します。"));

    // The member's paid leave left at the period's end, as the month now stands.
    m_leaveBalance = new QLabel(this);
    m_leaveBalance->setObjectName(QStringLiteral("lbl_yukyuZan"));
    m_leaveBalance->setGeometry(px(kRightBlock), px(totalsTop + kRowPitch + 120), px(1500),
                                px(kRowPitch));
    m_leaveBalance->setToolTip(
        QStringLiteral("対象期間の末日の有給休暇の残日数です（この月の入力を含みます）。"));

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
    const QRect bottomLeft(px(kLeftBlock), px(bottomTop), px(blockWidth()),
                           px(kHeight - bottomTop - 120));
    m_guidance = addGuidance(this,
                             QStringLiteral("土日を除いた基本時間の合計は、「週40時間勤務上限」"
                                            "として集計されます。"),
                             bottomLeft)
                     ->parentWidget();
    // Where the office keeps the law's hours, they stand in the guidance's place.
    m_legalBlock = new QGroupBox(QStringLiteral("法定労働時間・36協定"), this);
    m_legalBlock->setObjectName(QStringLiteral("obj_frame_houtei"));
    m_legalBlock->setGeometry(bottomLeft);
    auto* legalLayout = new QVBoxLayout(m_legalBlock);
    m_legalFigures = new QLabel(m_legalBlock);
    m_legalFigures->setObjectName(QStringLiteral("lbl_houtei"));
    m_legalFigures->setWordWrap(true);
    legalLayout->addWidget(m_legalFigures);
    m_agreementState = new QLabel(m_legalBlock);
    m_agreementState->setObjectName(QStringLiteral("lbl_36kyotei"));
    m_agreementState->setWordWrap(true);
    legalLayout->addWidget(m_agreementState);
    m_legalBlock->hide();

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
    order << m_grid->keyboardOrder();
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
    for (int n = 1; n <= DayGrid::kRows; ++n)
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
    m_grid->showRow(n);
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
    showLegal();
    const std::optional<double> balance = m_month.leaveBalance();
    m_leaveBalance->setText(balance ? QStringLiteral("有給残 %1 日").arg(leaveDaysText(*balance))
                                    : QString());
    setTextColour(m_leaveBalance, balance && *balance < 0 ? QColor(Qt::red)
                                                          : palette().color(QPalette::WindowText));
}

void frmKintaiEnt1::showLegal()
{
    const bool enabled = m_month.legal().isEnabled() && m_month.hasMember();
    m_legalBlock->setVisible(enabled);
    m_guidance->setVisible(!enabled);
    if (!enabled)
        return;
    const LegalMonth f = m_month.legalFigures();
    m_legalFigures->setText(
        QStringLiteral("法定内 %1　法定外残業 %2（うち60時間超 %3）\n法定休日労働 %4　深夜 %5")
            .arg(minutesText(f.withinLegal), minutesText(f.overtime), minutesText(f.overtimeOver60),
                 minutesText(f.legalHoliday), minutesText(f.night)));
    const AgreementCheck check = m_month.legal().check(f);
    m_agreementState->setText(
        check.state == AgreementState::Ok
            ? QStringLiteral("36協定：%1").arg(agreementStateText(check.state))
            : QStringLiteral("36協定：%1（%2 の %3%）")
                  .arg(agreementStateText(check.state), check.rule)
                  .arg(check.percent));
    const QColor colour = check.state == AgreementState::Ok ? palette().color(QPalette::WindowText)
                                                            : agreementStateColour(check.state);
    setTextColour(m_agreementState, colour);
}

void frmKintaiEnt1::sayWhenOverTheAgreement()
{
    if (!m_month.legal().isEnabled() || !m_month.hasMember())
        return;
    const AgreementCheck check = m_month.legal().check(m_month.legalFigures());
    if (check.state != AgreementState::Over)
        return;
    ShowMsg(kMsgInformation, QStringLiteral("%1は、36協定の上限（%2）を超えています。")
                                 .arg(m_month.memberMonthCaption(), check.rule));
}

void frmKintaiEnt1::LoadMonth(const QString& handler, const std::function<void(Database&)>& load)
{
    runReported(handler, [&] {
        WaitCursor wait;
        load(openDb());
        showWholeMonth();
    });
    sayWhenOverTheAgreement();
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
        if (const int n = m_month.isClosed() ? 0 : m_month.firstIncompleteRow())
            m_grid->focusMissingTime(n);
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
