#pragma once

#include "TimesheetMonth.h"
#include "WorkScreen.h"

#include <QPointer>

#include <array>
#include <functional>

class Database;
class DayGrid;
class QGroupBox;
class QLabel;
class QPushButton;
class TextField;
class DateField;

// The timesheet entry screen: one staff member's month on a grid of 31 day rows, with the
// month's totals. The screen binds its fields to a TimesheetMonth, which holds the month and its
// rules; nothing is written before the clerk saves or deletes.
class frmKintaiEnt1 : public WorkScreen {
    Q_OBJECT

public:
    // month is loaded already.
    explicit frmKintaiEnt1(TimesheetMonth month, QWidget* parent = nullptr);

    const TimesheetMonth& month() const { return m_month; }

    // Asks what becomes of unsaved entries before the month on screen is left: saved, thrown
    // away, or kept on screen. True when the screen may go on and leave the month.
    bool confirmLeavingMonth();

protected:
    void closeEvent(QCloseEvent* event) override;
    void firstShown() override { sayWhenOverTheAgreement(); }

private:
    void buildHeader();
    void buildFooter();
    void setKeyboardOrder();

    // Writes the header, every row and the totals.
    void showWholeMonth();
    // Writes row n: its day, weekday, class and values.
    void ShowRow(int n);
    void showTotals();
    void showAllowance();
    // The law's hours of the month and where it stands against the overtime agreement.
    void showLegal();
    // Says once, as a month is opened, that it is over the agreement.
    void sayWhenOverTheAgreement();

    // Runs a load of the month under the handler's name and shows what it loaded.
    void LoadMonth(const QString& handler, const std::function<void(Database&)>& load);
    void txt_staffCd_Validate();
    void closeOrReopen();
    // Runs a change of the month; when another clerk changed the month since it was shown, the
    // change is refused, the month as on file now is offered, and the answer is false. When
    // another clerk deleted the member, the change is refused and the next member shown.
    bool changeUnlessStale(const QString& change, const std::function<void()>& work);
    void cmd_NEXT_Click();
    void cmd_BACK_Click();
    void cmd_kensaku_Click();
    void cmd_button_Click(int index);
    // True when the month was written.
    bool save();
    void print();
    void img_trash_Drop();

    TimesheetMonth m_month;
    DayGrid* m_grid = nullptr;
    TextField* m_staffCd = nullptr;
    TextField* m_staffNm = nullptr;
    DateField* m_syoriDt = nullptr;
    DateField* m_kikanSt = nullptr;
    DateField* m_kikanEn = nullptr;
    QLabel* m_kihon40 = nullptr;
    QLabel* m_allowanceNotice = nullptr;
    QPushButton* m_recalculate = nullptr;
    QLabel* m_closedLabel = nullptr;
    QPushButton* m_closeButton = nullptr;
    std::array<QLabel*, 4> m_totals{};
    QLabel* m_leaveBalance = nullptr;
    QWidget* m_guidance = nullptr;
    QGroupBox* m_legalBlock = nullptr;
    QLabel* m_legalFigures = nullptr;
    QLabel* m_agreementState = nullptr;
};

extern QPointer<frmKintaiEnt1> gfrmKintaiEnt1;

// Loads the first staff member's month of the period under the progress window and shows it in
// the timesheet entry screen. A screen already open with another month is closed first; when the
// clerk keeps its unsaved month, that screen stays and the answer is null.
frmKintaiEnt1* openTimesheetScreen(const QString& syoriDt, const QDate& kikanSt,
                                   const QDate& kikanEn);
