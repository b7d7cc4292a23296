#pragma once

#include "Records.h"
#include "SearchSort.h"
#include "WorkScreen.h"

#include <QPointer>

#include <array>
#include <vector>

class QRadioButton;
class QTreeWidget;
class TextField;

// The fields of the screen that opened the search dialog, which receive the chosen staff code and
// name. Set by the caller before it shows the dialog; cleared when the dialog closes.
extern QPointer<TextField> gSearchCdCtl;
extern QPointer<TextField> gSearchNmCtl;

// The staff search dialog: staff found by part of the name, code or reading, listed, and the
// chosen one handed back to the caller's fields. It closes itself when another window of the
// program becomes active.
class frmKensaku : public WorkScreen {
    Q_OBJECT

public:
    explicit frmKensaku(QWidget* parent = nullptr);

    const SearchSort& sort() const { return m_sort; }

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool Data_Init();
    bool Data_Search();
    bool Data_Set(const std::vector<StaffRecord>& staff);
    bool Data_Ret();
    void cmd_button_Click(int index);
    void ListView1_ColumnClick(int section);
    void ListView1_DblClick();
    void showStorageOrder();

    std::array<QRadioButton*, 3> m_koumoku{};
    TextField* m_keyword;
    QTreeWidget* m_list;
    SearchSort m_sort;
    bool m_unloaded = false;
};

extern QPointer<frmKensaku> gfrmKensaku;

// Opens the search dialog, or brings it forward when open.
frmKensaku* showSearchDialog();
