#pragma once

#include "TimesheetMonth.h"

#include <QWidget>

#include <array>
#include <optional>

class ClockField;
class ListField;
class NumberField;
class QLabel;

// The timesheet screen's grid of 31 day rows, bound to the screen's month: each row's day,
// weekday, class list, clock times and hours, their colours, which of them take input, and the
// order the keyboard walks them in. What the clerk commits goes to the month at once; the grid
// says when the month's totals changed.
class DayGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 31;

    // The grid stands over its place on parent, in the screen's twips; rows beyond the month's
    // period are blank for the life of the grid.
    DayGrid(TimesheetMonth& month, QWidget* parent);

    // Writes row n: its day, weekday, class and values.
    void showRow(int n);
    // Writes row n's times and hours, the fields enabled unless its list shows a rest day. With
    // keepUntimedText a clock field that holds what is no time keeps it.
    void showRowTimesAndHours(int n, bool keepUntimedText = false);
    // The class list and the two clock fields of every row, in the order Tab walks them.
    QList<QWidget*> keyboardOrder() const;
    // Puts the focus on row n's first clock field without a time.
    void focusMissingTime(int n);

signals:
    void totalsChanged();

private:
    struct Row {
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
    static std::array<QWidget*, 6> entryFields(const Row& row);

    int px(int twips) const;
    // A rectangle given in the screen's twips, in the grid's own pixels.
    QRect place(int left, int top, int width, int height) const;
    void buildTitles();
    Row makeRow(int n);
    void bindRow(int n);
    // The class chosen in row n's list; none for the empty item of a row beyond the period.
    std::optional<DayClass> chosenClass(int n) const;

    TimesheetMonth& m_month;
    std::array<Row, kRows + 1> m_rows; // used from 1
};
