#pragma once

#include "TimesheetMonth.h"
#include "WorkScreen.h"

#include <QPointer>

#include <array>
#include <functional>

class ClockField;
class Database;
class ListField;
class NumberField;
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
    static constexpr int kGridRows = 31;

    // month is loaded already.
    explicit frmKintaiEnt1(TimesheetMonth month, QWidget* parent = nullptr);

    const TimesheetMonth& month() const { return m_month; }

    // Asks what becomes of unsaved entries before the month on screen is left: saved, thrown
    // away, or kept on screen. True when the screen may go on and leave the month.
    bool confirmLeavingMonth();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls of one grid row.
    struct GridRow {
        QLabel* band = nullptr;
        QLabel* date = nullptr;
        QLabel* week = nullptr;
        ListField* syukinKb = nullptr;
        ClockField* syukinJn = nullptr;
        ClockField* taisyaJn = nullptr;
        NumberField* kihonJn = nullptr;
        NumberField* zangyouJn = nullptr;
        NumberField* sinyaJn = nullptr;
        NumberField* kyukeiJn = nullptr;
    };

    // The six fields of a row that a rest day closes.
    static std::array<QWidget*, 6> entryFields(const GridRow& row);

    void buildHeader();
    void buildGrid();
    void buildFooter();
    void setKeyboardOrder();
    GridRow makeRow(int n);
    void bindRow(int n);
    // The class chosen in row n's list; none for the empty item of a row beyond the period.
    std::optional<DayClass> chosenClass(int n) const;

    // Writes the header, every row and the totals.
    void showWholeMonth();
    // Writes row n: its day, weekday, class and values.
    void ShowRow(int n);
    // Writes row n's times and hours, the fields enabled unless its list shows a rest day. With
    // keepUntimedText a clock field that holds what is no time keeps it.
    void showRowTimesAndHours(int n, bool keepUntimedText = false);
    void showTotals();
    void showAllowance();

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
    std::array<GridRow, kGridRows + 1> m_grid; // used from 1
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
};

extern QPointer<frmKintaiEnt1> gfrmKintaiEnt1;

// Loads the first staff member's month of the period under the progress window and shows it in
// the timesheet entry screen. A screen already open with another month is closed first; when the
// clerk keeps its unsaved month, that screen stays and the answer is null.
frmKintaiEnt1* openTimesheetScreen(const QString& syoriDt, const QDate& kikanSt,
                                   const QDate& kikanEn);
