#pragma once

#include "PayrollCsv.h"
#include "WorkScreen.h"

#include <QPointer>

class ListField;
class QListWidget;
class TextField;

// A payroll program's layout of the payroll file: its name, the unit of hours, and the columns
// it carries (ticked), in their order (dragged) with their header texts (edited in place).
class frmPayrollLayout : public WorkScreen {
    Q_OBJECT

public:
    // Opens on the layout; the standard layout is a start for a new one.
    explicit frmPayrollLayout(const PayrollLayout& layout, QWidget* parent = nullptr);

    // The layout as the screen shows it.
    PayrollLayout shown() const;

signals:
    // A layout was saved or deleted: the payroll screen reads its list again.
    void layoutsChanged(const QString& chosen);

private:
    void showLayout(const PayrollLayout& layout);
    void cmd_button_Click(int index);

    TextField* m_name;
    ListField* m_unit;
    QListWidget* m_columns;
};

extern QPointer<frmPayrollLayout> gfrmPayrollLayout;

// Opens the editor on the layout, or brings the open one forward.
frmPayrollLayout* showPayrollLayoutScreen(const PayrollLayout& layout);
