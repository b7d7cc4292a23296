#include "frmYukyu.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "LeaveReport.h"
#include "Messages.h"
#include "ReportPreview.h"
#include "ScreenParts.h"
#include "frmPayroll.h"

#include <array>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

QPointer<frmYukyu> gfrmYukyu;

frmYukyu* showLeaveLedgerScreen(const QString& code)
{
    frmYukyu* screen =
        showSingle(gfrmYukyu, [] { return addChild(new frmYukyu(QDate::currentDate())); });
    if (screen && !code.isEmpty())
        screen->showMember(code);
    return screen;
}

frmYukyu::frmYukyu(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmYukyu"), QStringLiteral("有給休暇管理簿"), {14400, 7500},
                 Placement::Centred, parent)
{
    addHeading(this,
               QStringLiteral("年次有給休暇の基準日、付与日数、取得した日と残日数を表示します。"),
               px(120, 120, 14160, 300));
    m_staffCd = new TextField(4, this);
    m_staffCd->setObjectName(QStringLiteral("txt_staffCd"));
    m_staffCd->setCaption(QStringLiteral("ｽﾀｯﾌID:"));
    m_staffCd->setGeometry(px(240, 540, 1800, 345));
    m_staffCd->setLatinInput(Qt::ImhPreferNumbers);
    m_staffNm = new QLabel(this);
    m_staffNm->setObjectName(QStringLiteral("lbl_staffNm"));
    m_staffNm->setGeometry(px(2160, 540, 2400, 345));
    m_asOf = new DateField(DateField::Pattern::Day, this);
    m_asOf->setObjectName(QStringLiteral("txt_kijunDt"));
    m_asOf->setCaption(QStringLiteral("現在日:"));
    m_asOf->setGeometry(px(4680, 540, 2400, 345));
    m_asOf->setValue(today);
    m_conditions = new QLabel(this);
    m_conditions->setObjectName(QStringLiteral("lbl_jouken"));
    m_conditions->setGeometry(px(7200, 540, 6960, 345));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(240, 1020, 13920, 3900));
    m_list->setHeaderLabels(ledgerColumns());
    m_list->setRootIsDecorated(false);
    m_list->setWordWrap(true);
    const std::array<int, 8> widths{1250, 2100, 850, 850, 3300, 850, 850, 750};
    for (size_t column = 0; column < widths.size(); ++column)
        m_list->setColumnWidth(int(column), px(widths[column]));
    m_balance = new QLabel(this);
    m_balance->setObjectName(QStringLiteral("lbl_zan"));
    m_balance->setGeometry(px(240, 5010, 6000, 345));

    // An opening balance: a grant made before the months kept here, with the days left of it.
    m_openingDt = new DateField(DateField::Pattern::Day, this);
    m_openingDt->setObjectName(QStringLiteral("txt_kurikosiDt"));
    m_openingDt->setCaption(QStringLiteral("繰越の基準日:"));
    m_openingDt->setGeometry(px(240, 5490, 3000, 345));
    m_openingDt->setValue(today);
    m_openingGranted = new NumberField(2, this);
    m_openingGranted->setObjectName(QStringLiteral("txt_kurikosiFuyo"));
    m_openingGranted->setCaption(QStringLiteral("付与日数:"));
    m_openingGranted->setGeometry(px(3360, 5490, 1900, 345));
    m_openingLeft = new NumberField(2, this);
    m_openingLeft->setObjectName(QStringLiteral("txt_kurikosiZan"));
    m_openingLeft->setCaption(QStringLiteral("残日数:"));
    m_openingLeft->setGeometry(px(5380, 5490, 1700, 345));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* opening = addCommandButton(this, 1, QStringLiteral("繰越登録(&K)"),
                                            px(7200, 5460, 1500, 420), onClick);
    QPushButton* decide = addCommandButton(this, 0, QStringLiteral("付与確認(&A)"),
                                           px(7200, 4980, 1500, 420), onClick);
    QPushButton* remove = addCommandButton(this, 5, QStringLiteral("入力取消(&D)"),
                                           px(8820, 4980, 1500, 420), onClick);
    addGuidance(this,
                QStringLiteral("付与は入社日と出勤の記録から計算します。記録のない期間の付与は"
                               "「付与確認」で決めます。使い始める前の残日数は繰越として登録"
                               "します。"),
                px(240, 5940, 7080, 1440));
    QPushButton* print =
        addCommandButton(this, 2, QStringLiteral("印刷(&P)"), px(9360, 6960, 1500, 420), onClick);
    QPushButton* csv = addCommandButton(this, 3, QStringLiteral("CSV出力(&O)"),
                                        px(10980, 6960, 1500, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(12600, 6960, 1500, 420), onClick);
    setTabChain({m_staffCd, m_asOf, m_list, decide, remove, m_openingDt, m_openingGranted,
                 m_openingLeft, opening, print, csv, close});

    connect(m_staffCd, &TextField::committed, this, &frmYukyu::txt_staffCd_Validate);
    connect(m_asOf, &DateField::committed, this, [this] {
        if (m_leave.isLoaded() && m_asOf->value() != m_leave.asOf())
            showMember(m_leave.member().staffCd);
    });
    m_staffCd->setFocus();
}

void frmYukyu::showMember(const QString& code)
{
    runReported(QStringLiteral("Data_Disp()"), [&] {
        if (!m_leave.load(openDb(), code, m_asOf->value())) {
            ShowMsg(kMsgError, QStringLiteral("スタッフが登録されていません。"));
            return;
        }
        showLedger();
    });
}

void frmYukyu::txt_staffCd_Validate()
{
    const QString code = padStaffCode(m_staffCd->value());
    m_staffCd->setValue(code);
    if (!m_leave.isLoaded() || code != m_leave.member().staffCd ||
        m_asOf->value() != m_leave.asOf())
        showMember(code);
}

void frmYukyu::showLedger()
{
    const MemberConditions& c = m_leave.conditions();
    m_staffCd->setValue(m_leave.member().staffCd);
    m_staffNm->setText(m_leave.member().staffNm);
    m_conditions->setText(
        QStringLiteral("入社日 %1%2　週所定 %3日 %4時間")
            .arg(c.nyusyaDt.isValid() ? slashDate(c.nyusyaDt) : QStringLiteral("なし"),
                 c.taisyokuDt.isValid() ? QStringLiteral("　退職日 ") + slashDate(c.taisyokuDt)
                                        : QString())
            .arg(c.syuNissu)
            .arg(c.syuJikan));
    m_list->clear();
    const std::vector<QStringList> rows = ledgerRows(m_leave.ledger(), slashDate);
    for (size_t i = 0; i < rows.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_list, rows[i]);
        item->setData(0, Qt::UserRole, int(i));
        for (int column = 0; column < rows[i].size(); ++column)
            item->setToolTip(column, rows[i][column]); // a long list of days is read in full
        for (const int column : {2, 3, 5, 6, 7})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        const LeaveYear& year = m_leave.ledger().years[i];
        if (year.hasFiveDayDuty() && year.takenTowardDuty < 5 && m_leave.asOf() > year.dueDate())
            item->setForeground(8, QColor(Qt::red));
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(m_list->topLevelItemCount() - 1));
    const bool kept = c.nyusyaDt.isValid() || !m_leave.ledger().years.empty();
    m_balance->setText(
        kept ? QStringLiteral("残 %1 日（%2 現在）")
                   .arg(leaveDaysText(m_leave.ledger().balance), slashDate(m_leave.asOf()))
             : QStringLiteral("入社日が登録されていません（スタッフ登録で入力）。"));
}

const LeaveYear* frmYukyu::chosenYear() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item || !m_leave.isLoaded())
        return nullptr;
    const size_t i = size_t(item->data(0, Qt::UserRole).toInt());
    return i < m_leave.ledger().years.size() ? &m_leave.ledger().years[i] : nullptr;
}

void frmYukyu::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 6) {
            closeScreen(this);
            return;
        }
        if (!m_leave.isLoaded()) {
            ShowMsg(kMsgError, QStringLiteral("スタッフが指定されていません。指定してください。"));
            m_staffCd->setFocus();
            return;
        }
        switch (index) {
        case 0:
            decideGrant();
            break;
        case 1:
            saveOpening();
            break;
        case 2:
            showReport(leaveLedgerReport(m_leave, QDate::currentDate()), this);
            break;
        case 3:
            exportCsv();
            break;
        case 5:
            removeEntry();
            break;
        default:
            break;
        }
    });
}

void frmYukyu::decideGrant()
{
    const LeaveYear* year = chosenYear();
    if (!year || !year->unrecorded) {
        ShowMsg(kMsgError, QStringLiteral("「記録なし」の基準日を一覧から選んでください。"));
        return;
    }
    const QDate date = year->kijunDt;
    const int answer = ShowMsg(
        kMsgQuestion,
        QStringLiteral("基準日 %1 の前の期間は、出勤の記録が揃っていないため出勤率を確かめら"
                       "れません。\n付与しますか？（「いいえ」で付与しません）")
            .arg(slashDate(date)));
    m_leave.decideGrant(openDb(), date, answer == kMsgYes);
    showLedger();
}

void frmYukyu::saveOpening()
{
    const LeaveGrantRecord opening{m_openingDt->value(), LeaveGrantRecord::Kind::Opening,
                                   m_openingGranted->value().value_or(0),
                                   m_openingLeft->value().value_or(0)};
    if (const QString refusal = m_leave.openingRefusal(opening); !refusal.isEmpty()) {
        ShowMsg(kMsgError, refusal);
        return;
    }
    m_leave.saveOpening(openDb(), opening);
    showLedger();
    ShowMsg(kMsgInformation, QStringLiteral("繰越を登録しました。"));
}

void frmYukyu::removeEntry()
{
    const LeaveYear* year = chosenYear();
    if (!year || (year->basis != LeaveYear::Basis::Opening && !year->confirmed)) {
        ShowMsg(kMsgError,
                QStringLiteral("取り消す繰越か、確認済みの基準日を一覧から選んでください。"));
        return;
    }
    const QDate date = year->kijunDt;
    if (ShowMsg(kMsgQuestion,
                QStringLiteral("基準日 %1 の入力を取り消しますか？").arg(slashDate(date))) !=
        kMsgYes)
        return;
    m_leave.removeEntry(openDb(), date);
    showLedger();
}

void frmYukyu::exportCsv()
{
    const std::vector<QStringList> ledger = ledgerRows(m_leave.ledger(), slashDate);
    std::vector<CsvRow> rows;
    rows.reserve(ledger.size());
    const QString owner =
        QStringLiteral("スタッフ %1 %2").arg(m_leave.member().staffCd, m_leave.member().staffNm);
    for (const QStringList& row : ledger)
        rows.push_back(
            {owner, QStringList{m_leave.member().staffCd, m_leave.member().staffNm} + row});
    const CsvFile csv =
        csvFile(QStringList{QStringLiteral("スタッフコード"), QStringLiteral("スタッフ氏名")} +
                    ledgerColumns(),
                rows, CsvEncoding::Utf8Bom);
    const QString path =
        saveCsvFile(this, QStringLiteral("有給休暇管理簿の出力"),
                    QStringLiteral("有給休暇管理簿_%1.csv").arg(m_leave.member().staffCd), csv);
    if (path.isEmpty())
        return;
    ShowMsg(kMsgInformation, QStringLiteral("%1 に出力しました。").arg(path));
}
