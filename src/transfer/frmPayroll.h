#pragma once

#include "PayrollCsv.h"
#include "Records.h"
#include "WorkScreen.h"

#include <QDate>
#include <QPointer>

#include <vector>

class DateField;
class ListField;
class TextField;

// The payroll hand-over: the stored months of a processing month for a range of staff codes,
// written to a CSV file that the payroll program imports.
class frmPayroll : public WorkScreen {
    Q_OBJECT

public:
    // The month shown at first is the one before today's, as on the print selection.
    explicit frmPayroll(const QDate& today = QDate::currentDate(), QWidget* parent = nullptr);

private:
    void cmd_button_Click(int index);
    void run();
    // Months not closed yet may still change: they are named, and written only when the clerk
    // says so.
    static bool openMonthsAccepted(const std::vector<PayrollRow>& rows, const QString& month);

    // The editor saved or deleted a layout: the list is read again, with it chosen.
    void layoutsChanged(const QString& chosen);
    // The layouts on file after the standard one, the named one chosen.
    void showLayouts(const QString& chosen);
    PayrollLayout chosenLayout() const;

    DateField* m_syoriDt;
    TextField* m_staffFrom;
    TextField* m_staffTo;
    ListField* m_encoding;
    ListField* m_layout;
    std::vector<PayrollLayout> m_layouts; // the named ones, as on file
};

extern QPointer<frmPayroll> gfrmPayroll;

// Opens the payroll hand-over, or brings it forward when open.
frmPayroll* showPayrollScreen();

// Asks where to save a CSV file, suggesting fileName in the documents folder, and writes it whole;
// the failure is told to the clerk. The path written, or empty text when nothing was.
QString saveCsvFile(QWidget* owner, const QString& title, const QString& fileName,
                    const CsvFile& csv);
