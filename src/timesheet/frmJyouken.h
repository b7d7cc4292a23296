#pragma once

#include "WorkScreen.h"
#include <QDate>
#include <QPointer>

class DateField;

// The month and period selection: the processing month and the days of its sheet, checked, then
// handed to the timesheet entry screen as values.
class frmJyouken : public WorkScreen {
    Q_OBJECT

public:
    // The defaults are taken from today's date.
    explicit frmJyouken(const QDate& today = QDate::currentDate(), QWidget* parent = nullptr);

    // The month and period fields, as the clerk sees them.
    const DateField* syoriDtField() const { return m_syoriDt; }
    const DateField* kikanStField() const { return m_kikanSt; }
    const DateField* kikanEnField() const { return m_kikanEn; }

    // Checks the period; says why it is refused.
    bool kikan_check();

private:
    void cmd_button_Click(int index);
    void execute();

    DateField* m_syoriDt;
    DateField* m_kikanSt;
    DateField* m_kikanEn;
};

extern QPointer<frmJyouken> gfrmJyouken;

// Opens the month and period selection, or brings it forward when open.
frmJyouken* showPeriodScreen();
