#pragma once

#include <QDate>
#include <QPointer>
#include <QWidget>

class DateField;
class TextField;

// The print selection: a range of staff codes and a processing month, whose attendance sheets
// are shown in the preview. It stays open for further runs until cancelled.
class frmInsatu : public QWidget {
    Q_OBJECT

public:
    // The month shown at first is the one before today's.
    explicit frmInsatu(const QDate& today = QDate::currentDate(), QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmd_button_Click(int index);
    void run();

    DateField* m_syoriDt;
    TextField* m_staffFrom;
    TextField* m_staffTo;
    bool m_placed = false;
};

extern QPointer<frmInsatu> gfrmInsatu;

// Opens the print selection, or brings it forward when open.
frmInsatu* ShowPrintScreen();
