#include "frmPayroll.h"

#include "ChildScreens.h"
#include "Common.h"
#include "FileDialogs.h"
#include "InputFields.h"
#include "LegalStore.h"
#include "Messages.h"
#include "MonthLegal.h"
#include "PayrollCsv.h"
#include "Period.h"
#include "ProgressWork.h"
#include "ScreenParts.h"
#include "TimesheetStore.h"
#include "WholeFile.h"
#include "frmPayrollLayout.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>

QPointer<frmPayroll> gfrmPayroll;

frmPayroll* showPayrollScreen()
{
    return showSingle(gfrmPayroll, [] { return addChild(new frmPayroll); });
}

frmPayroll::frmPayroll(const QDate& today, QWidget* parent)
    : WorkScreen(QStringLiteral("frmPayroll"), QStringLiteral("給与データ出力"), {6390, 4905},
                 Placement::Centred, parent)
{
    addHeading(this, QStringLiteral("給与計算に渡す勤怠の集計を CSV ファイルに出力します。"),
               px(135, 375, 6105, 300));
    const MonthAndStaffRange range =
        addMonthAndStaffRange(this, defaultPeriod(today).month, 1005, 1515);
    m_syoriDt = range.month;
    m_staffFrom = range.staffFrom;
    m_staffTo = range.staffTo;

    auto* encodingLabel = new QLabel(QStringLiteral("文字コード："), this);
    encodingLabel->setGeometry(px(735, 2025, 1260, 330));
    m_encoding = new ListField(this);
    m_encoding->setObjectName(QStringLiteral("cmb_encoding"));
    m_encoding->addItem(QStringLiteral("Shift_JIS"), int(CsvEncoding::ShiftJis));
    m_encoding->addItem(QStringLiteral("UTF-8 (BOM付き)"), int(CsvEncoding::Utf8Bom));
    m_encoding->setGeometry(px(2010, 2025, 2070, 330));
    auto* layoutLabel = new QLabel(QStringLiteral("レイアウト："), this);
    layoutLabel->setGeometry(px(735, 2475, 1260, 330));
    m_layout = new ListField(this);
    m_layout->setObjectName(QStringLiteral("cmb_layout"));
    m_layout->setGeometry(px(2010, 2475, 2070, 330));

    addGuidance(this,
                QStringLiteral("保存済みの月の合計をスタッフごとに1行で出力します。"
                               "給与ソフトが読めないときは UTF-8 を選びます。"),
                px(75, 3090, 6210, 1155));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* layoutButton =
        addCommandButton(this, 4, QStringLiteral("編集(&L)"), px(4200, 2460, 1350, 360), onClick);
    QPushButton* runButton =
        addCommandButton(this, 2, QStringLiteral("実行(&E)"), px(3510, 4365, 1350, 435), onClick);
    QPushButton* cancel =
        addCommandButton(this, 3, QStringLiteral("ｷｬﾝｾﾙ(&C)"), px(4920, 4365, 1350, 435), onClick);
    setTabChain(
        {m_syoriDt, m_staffFrom, m_staffTo, m_encoding, m_layout, layoutButton, runButton, cancel});
    runReported(QStringLiteral("Form_Load()"), [this] { showLayouts({}); });
    m_syoriDt->setFocus();
}

void frmPayroll::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [&] {
        if (index == 2) {
            run();
        } else if (index == 3) {
            closeScreen(this);
        } else if (index == 4) {
            frmPayrollLayout* editor = showPayrollLayoutScreen(chosenLayout());
            connect(editor, &frmPayrollLayout::layoutsChanged, this, &frmPayroll::layoutsChanged,
                    Qt::UniqueConnection);
        }
    });
}

bool frmPayroll::openMonthsAccepted(const std::vector<PayrollRow>& rows, const QString& month)
{
    constexpr int kNamed = 3;
    QStringList named;
    int open = 0;
    for (const PayrollRow& row : rows) {
        if (row.closed)
            continue;
        if (++open <= kNamed)
            named << row.staffCd + u' ' + row.staffNm;
    }
    if (open == 0)
        return true;
    QString members = named.join(QStringLiteral("、"));
    if (open > kNamed)
        members += QStringLiteral(" ほか%1人").arg(open - kNamed);
    return ShowMsg(kMsgRiskyQuestion,
                   QStringLiteral("%1のうち %2人の月が締められていません（%3）。\n"
                                  "締められていない月は、まだ変わることがあります。"
                                  "締められていない月も出力しますか？")
                       .arg(monthCaption(month))
                       .arg(open)
                       .arg(members)) == kMsgYes;
}

void frmPayroll::run()
{
    const QString month = m_syoriDt->valueText();
    const PayrollLayout layout = chosenLayout();
    std::vector<PayrollRow> rows;
    runWithProgress([&](Database& db) {
        rows = loadPayrollRows(db, m_staffFrom->value(), m_staffTo->value(), month);
        if (!layout.carriesLawsHours())
            return;
        const LegalSettings settings = loadLegalSettings(db);
        for (PayrollRow& row : rows)
            row.legal =
                monthFigures(db, row.staffCd, row.syoriDt, row.kikanSt, row.kikanEn, settings);
    });
    if (rows.empty()) {
        ShowMsg(kMsgError, QStringLiteral("出力対象データがありません。"));
        return;
    }
    if (!openMonthsAccepted(rows, month))
        return;
    const CsvFile csv = payrollCsv(rows, CsvEncoding(m_encoding->currentData().toInt()), layout);
    if (!csv.refusal.isEmpty()) {
        ShowMsg(kMsgError, csv.refusal);
        return;
    }
    const QString path = saveCsvFile(this, QStringLiteral("給与データ出力"),
                                     QStringLiteral("給与データ_%1.csv").arg(month), csv);
    if (path.isEmpty())
        return;
    ShowMsg(kMsgInformation,
            QStringLiteral("%1 に %2 人分を出力しました。").arg(path).arg(rows.size()));
}

void frmPayroll::layoutsChanged(const QString& chosen)
{
    runReported(QStringLiteral("showLayouts()"), [&] { showLayouts(chosen); });
}

void frmPayroll::showLayouts(const QString& chosen)
{
    m_layouts.clear();
    for (const StoredLayout& stored : loadPayrollLayouts(openDb()))
        m_layouts.push_back(PayrollLayout::fromText(stored.name, stored.text));
    const QSignalBlocker quiet(m_layout);
    m_layout->clear();
    m_layout->addItem(QStringLiteral("標準"), -1);
    for (size_t i = 0; i < m_layouts.size(); ++i)
        m_layout->addItem(m_layouts[i].name, int(i));
    m_layout->setCurrentIndex(std::max(0, m_layout->findText(chosen)));
}

PayrollLayout frmPayroll::chosenLayout() const
{
    const int i = m_layout->currentData().toInt();
    return i >= 0 && size_t(i) < m_layouts.size() ? m_layouts[size_t(i)]
                                                  : PayrollLayout::standard();
}

QString saveCsvFile(QWidget* owner, const QString& title, const QString& fileName,
                    const CsvFile& csv)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = askFileName(owner, {true, title, QDir(documents).filePath(fileName),
                                       QStringLiteral("CSVファイル(*.csv)")});
    if (path.isEmpty())
        return {};
    QString error;
    if (!writeWholeFile(path, csv.bytes, &error)) {
        ShowMsg(kMsgError, wholeFileFailure(path, error));
        return {};
    }
    return path;
}
