#pragma once

#include "WorkScreen.h"
#include <QDate>
#include <QPointer>

class DateField;
class TextField;

// The print selection: a range of staff codes and a processing month, whose attendance sheets
// are shown in the preview. It stays open for further runs until cancelled.
class frmInsatu : public WorkScreen {
    Q_OBJECT

public:
    // The month shown at first is the one before today's.
    explicit frmInsatu(const QDate& today = QDate::currentDate(), QWidget* parent = nullptr);

private:
    void cmd_button_Click(int index);
    void run();
    // Closes the month of every member in the range whose month is stored and open.
    void closeRange();

    DateField* m_syoriDt;
    TextField* m_staffFrom;
    TextField* m_staffTo;
};

extern QPointer<frmInsatu> gfrmInsatu;

// Opens the print selection, or brings it forward when open.
frmInsatu* showPrintScreen();
