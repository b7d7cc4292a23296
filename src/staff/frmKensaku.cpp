#include "frmKensaku.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Records.h"
#include "ScreenParts.h"
#include "StaffStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

QPointer<TextField> gSearchCdCtl;
QPointer<TextField> gSearchNmCtl;
QPointer<frmKensaku> gfrmKensaku;

frmKensaku* showSearchDialog()
{
    // A window of its own above the main window, not one of its child windows.
    return showSingle(gfrmKensaku, [] {
        auto* dialog = new frmKensaku(gMDIForm);
        dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        return dialog;
    });
}

frmKensaku::frmKensaku(QWidget* parent)
    : WorkScreen(QStringLiteral("frmKensaku"), QStringLiteral("スタッフ検索"), {5880, 5340},
                 Placement::TopRight, parent)
{
    setEnterMovesFocus(false);

    auto* frame = new QGroupBox(QStringLiteral("検索項目(&O)"), this);
    frame->setObjectName(QStringLiteral("frm_Koumoku"));
    frame->setGeometry(px(120, 60, 5640, 720));
    const std::array<std::pair<int, const char*>, 3> options{
        {{1, "ｽﾀｯﾌ氏名"}, {0, "ｽﾀｯﾌｺｰﾄﾞ"}, {2, "ﾌﾘｶﾞﾅ"}}};
    int left = 240;
    for (const auto& [index, caption] : options) {
        auto* option = new QRadioButton(QString::fromUtf8(caption), frame);
        option->setObjectName(QStringLiteral("opt_koumoku_%1").arg(index));
        option->setGeometry(px(left, 300, 1680, 345));
        m_koumoku[index] = option;
        left += 1800;
    }
    m_koumoku[1]->setChecked(true);

    m_keyword = new TextField(10, this);
    m_keyword->setObjectName(QStringLiteral("txt_keyword"));
    m_keyword->setCaption(QStringLiteral("ｷｰﾜｰﾄﾞ(&K)："));
    m_keyword->setGeometry(px(120, 930, 4200, 345));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    const auto addButton = [&](int index, const QString& caption, const QRect& twips) {
        return addScreenButton(
            this, QStringLiteral("cmd_Button_%1").arg(index), caption,
            QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())),
            [onClick, index] { onClick(index); });
    };
    addButton(0, QStringLiteral("実行(&F)"), QRect(4440, 900, 1320, 405));
    // Enter in the keyword searches, as the clerk expects of a search field.
    connect(m_keyword, &QLineEdit::returnPressed, this, [this] { cmd_button_Click(0); });

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(px(120, 1410, 5640, 3180));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels(
        {QStringLiteral("ｺｰﾄﾞ"), QStringLiteral("ｽﾀｯﾌ氏名"), QStringLiteral("ﾌﾘｶﾞﾅ")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnWidth(0, px(1016));
    m_list->setColumnWidth(1, px(2236));
    m_list->setColumnWidth(2, px(2236));
    m_list->header()->setSectionsClickable(true);
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            &frmKensaku::ListView1_ColumnClick);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &frmKensaku::ListView1_DblClick);

    addButton(1, QStringLiteral("決定(&E)"), QRect(3000, 4740, 1320, 420));
    addButton(2, QStringLiteral("取消(&C)"), QRect(4440, 4740, 1320, 420));

    showStorageOrder();
    setTabOrder(m_koumoku[1], m_keyword);
    new CloseOnDeactivation(this);
}

void frmKensaku::firstShown()
{
    runReported(QStringLiteral("Form_Load()"), [this] {
        WaitCursor wait;
        Data_Init();
    });
    // Shown, the window would put the focus on its checked option; the clerk types a keyword.
    m_keyword->setFocus(Qt::OtherFocusReason);
}

void frmKensaku::showStorageOrder()
{
    // No sort mark: the rows stand in the storage order until a header click.
    m_list->header()->setSortIndicatorShown(false);
    m_list->header()->setSortIndicator(-1, Qt::AscendingOrder);
}

bool frmKensaku::Data_Init()
{
    m_keyword->setValue(QString());
    m_sort = SearchSort();
    return true;
}

bool frmKensaku::Data_Search()
{
    StaffField field = StaffField::staffKm;
    if (m_koumoku[0]->isChecked())
        field = StaffField::staffCd;
    else if (m_koumoku[1]->isChecked())
        field = StaffField::staffNm;
    return Data_Set(ListStaff(openDb(), m_keyword->value(), field));
}

bool frmKensaku::Data_Set(const std::vector<StaffRecord>& staff)
{
    m_list->hide();
    m_list->clear();
    showStorageOrder();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(staff.size()));
    for (const StaffRecord& rec : staff)
        items << new QTreeWidgetItem(QStringList{rec.staffCd, rec.staffNm, rec.staffKm});
    m_list->addTopLevelItems(items);
    m_list->show();
    m_list->setFocus();
    if (!items.isEmpty())
        m_list->setCurrentItem(items.first());
    return true;
}

bool frmKensaku::Data_Ret()
{
    // The targets as the caller set them: a message box may hand the activation elsewhere and
    // close this dialog before the hand-back is done.
    const QPointer<TextField> codeField = gSearchCdCtl;
    const QPointer<TextField> nameField = gSearchNmCtl;
    if (m_list->topLevelItemCount() == 0) {
        ShowMsg(kMsgError, QStringLiteral("リストより選択してください。"));
        if (codeField)
            codeField->setValue(QString());
        return true;
    }
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        // Rows are listed but none is chosen: the dialog stays for a choice.
        ShowMsg(kMsgError, QStringLiteral("リストより選択してください。"));
        return false;
    }
    const QTreeWidgetItem* item = selected.first();
    if (codeField)
        codeField->setValue(item->text(0));
    if (nameField)
        nameField->setValue(item->text(1));
    if (codeField) {
        codeField->setFocus(Qt::OtherFocusReason);
        // The caller's window comes forward with its code field focused; this dialog then closes
        // and hands the focus on to the name field, which commits the code.
        QWidget* caller = codeField->window();
        caller->activateWindow();
        QApplication::setActiveWindow(caller);
    }
    return true;
}

void frmKensaku::cmd_button_Click(int index)
{
    bool close = index == 2;
    const bool ran = runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [&] {
        if (index == 0)
            Data_Search();
        else if (index == 1)
            close = Data_Ret();
    });
    if (close || !ran)
        closeScreen(this);
}

void frmKensaku::ListView1_ColumnClick(int section)
{
    runReported(QStringLiteral("ListView1_ColumnClick()"), [&] {
        const Qt::SortOrder order = m_sort.click(section + 1);
        m_list->sortItems(section, order);
        m_list->header()->setSortIndicator(section, order);
        m_list->header()->setSortIndicatorShown(true);
    });
}

void frmKensaku::ListView1_DblClick()
{
    bool close = false;
    runReported(QStringLiteral("ListView1_DblClick()"), [&] { close = Data_Ret(); });
    if (close)
        closeScreen(this);
}

void frmKensaku::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The hand-back: the caller's code field, focused by the choice, is left for its name field,
    // so the caller takes the chosen code as if it had been typed.
    runReported(QStringLiteral("Form_Unload()"), [] {
        if (gSearchNmCtl)
            gSearchNmCtl->setFocus(Qt::OtherFocusReason);
    });
    gSearchCdCtl.clear();
    gSearchNmCtl.clear();
    gfrmKensaku.clear();
}
