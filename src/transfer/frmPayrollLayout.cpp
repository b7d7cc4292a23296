#include "frmPayrollLayout.h"

#include "ChildScreens.h"
#include "Common.h"
#include "InputFields.h"
#include "LegalStore.h"
#include "Messages.h"
#include "ScreenParts.h"

#include <QListWidget>
#include <QPushButton>

QPointer<frmPayrollLayout> gfrmPayrollLayout;

frmPayrollLayout* showPayrollLayoutScreen(const PayrollLayout& layout)
{
    return showSingle(gfrmPayrollLayout,
                      [&layout] { return addChild(new frmPayrollLayout(layout)); });
}

frmPayrollLayout::frmPayrollLayout(const PayrollLayout& layout, QWidget* parent)
    : WorkScreen(QStringLiteral("frmPayrollLayout"), QStringLiteral("給与データのレイアウト"),
                 {6600, 7800}, Placement::Centred, parent)
{
    addHeading(this, QStringLiteral("給与ソフトごとに、出力する列と順番、見出しを決めます。"),
               px(120, 120, 6360, 300));
    m_name = new TextField(20, this);
    m_name->setObjectName(QStringLiteral("txt_layoutNm"));
    m_name->setCaption(QStringLiteral("レイアウト名:"));
    m_name->setGeometry(px(240, 540, 4200, 345));
    m_unit = new ListField(this);
    m_unit->setObjectName(QStringLiteral("cmb_tanni"));
    m_unit->setGeometry(px(240, 975, 4200, 345));
    m_unit->addItem(QStringLiteral("時間を小数で（7.33）"), int(HoursUnit::Decimal));
    m_unit->addItem(QStringLiteral("時間と分で（7:20）"), int(HoursUnit::HoursMinutes));
    m_unit->addItem(QStringLiteral("分で（440）"), int(HoursUnit::Minutes));
    m_columns = new QListWidget(this);
    m_columns->setObjectName(QStringLiteral("lst_koumoku"));
    m_columns->setGeometry(px(240, 1440, 4200, 4920));
    m_columns->setDragDropMode(QAbstractItemView::InternalMove);
    m_columns->setEditTriggers(QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed);
    addGuidance(this,
                QStringLiteral("チェックした列を上から順に出力します。ドラッグで順番を、ダブル"
                               "クリックで見出しを変えます。"),
                px(240, 6480, 4200, 1200));

    const auto onClick = [this](int index) { cmd_button_Click(index); };
    QPushButton* save =
        addCommandButton(this, 0, QStringLiteral("保存(&S)"), px(4800, 1440, 1560, 420), onClick);
    QPushButton* remove =
        addCommandButton(this, 1, QStringLiteral("削除(&D)"), px(4800, 1980, 1560, 420), onClick);
    QPushButton* close =
        addCommandButton(this, 6, QStringLiteral("終了(&C)"), px(4800, 7260, 1560, 420), onClick);
    setTabChain({m_name, m_unit, m_columns, save, remove, close});
    showLayout(layout);
    m_name->setFocus();
}

void frmPayrollLayout::showLayout(const PayrollLayout& layout)
{
    m_name->setValue(layout.name);
    m_unit->setCurrentIndex(m_unit->findData(int(layout.unit)));
    m_columns->clear();
    // The layout's columns first, in its order and with its headers, then the others, unticked.
    std::vector<PayrollColumn> all = layout.columns;
    for (const PayrollColumn& column : PayrollLayout::allColumns()) {
        if (std::none_of(all.begin(), all.end(),
                         [&](const PayrollColumn& c) { return c.key == column.key; }))
            all.push_back(column);
    }
    for (size_t i = 0; i < all.size(); ++i) {
        auto* item = new QListWidgetItem(all[i].header, m_columns);
        item->setData(Qt::UserRole, all[i].key);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(i < layout.columns.size() ? Qt::Checked : Qt::Unchecked);
    }
}

PayrollLayout frmPayrollLayout::shown() const
{
    PayrollLayout layout;
    layout.name = m_name->value().trimmed();
    layout.unit = HoursUnit(m_unit->currentData().toInt());
    for (int i = 0; i < m_columns->count(); ++i) {
        const QListWidgetItem* item = m_columns->item(i);
        if (item->checkState() == Qt::Checked)
            layout.columns.push_back({item->data(Qt::UserRole).toString(), item->text()});
    }
    return layout;
}

void frmPayrollLayout::cmd_button_Click(int index)
{
    runReported(QStringLiteral("cmd_button_Click(%1)").arg(index), [this, index] {
        if (index == 6) {
            closeScreen(this);
            return;
        }
        const PayrollLayout layout = shown();
        if (layout.name.isEmpty()) {
            ShowMsg(kMsgError, QStringLiteral("レイアウト名を入力してください。"));
            m_name->setFocus();
            return;
        }
        if (index == 1) {
            if (ShowMsg(kMsgQuestion,
                        QStringLiteral("レイアウト %1 を削除しますか？").arg(layout.name)) !=
                kMsgYes)
                return;
            deletePayrollLayout(openDb(), layout.name);
            emit layoutsChanged({});
            closeScreen(this);
            return;
        }
        if (layout.columns.empty()) {
            ShowMsg(kMsgError, QStringLiteral("出力する列を1つ以上選んでください。"));
            return;
        }
        savePayrollLayout(openDb(), {layout.name, layout.toText()});
        emit layoutsChanged(layout.name);
        ShowMsg(kMsgInformation, QStringLiteral("レイアウト %1 を保存しました。").arg(layout.name));
    });
}
