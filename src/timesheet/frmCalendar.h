#pragma once

#include "WorkScreen.h"

#include <QPointer>

#include <functional>

class Database;

class DateField;
class QCheckBox;
class QLabel;
class QTreeWidget;
class TextField;

// The office's calendar, a year at a time: its own days off, added and removed, and whether
// public holidays and those days are prepared as rest days in a new month.
class frmCalendar : public WorkScreen {
    Q_OBJECT

public:
    explicit frmCalendar(const QDate& today, QWidget* parent = nullptr);

    int year() const { return m_year; }

private:
    void showYear(int year);
    void cmd_button_Click(int index);
    void add();
    void remove();
    // Runs a change of the calendar from the revision shown; when another clerk changed the
    // calendar since, the change is refused, the calendar shown anew, and the answer is false.
    bool changeCalendar(const QString& change, const std::function<int(Database&, int)>& work);

    int m_year = 0;
    int m_revision = 0;
    bool m_shownRestDays = false;
    QLabel* m_yearLabel;
    QTreeWidget* m_list;
    DateField* m_day;
    TextField* m_name;
    QCheckBox* m_restDays;
};

extern QPointer<frmCalendar> gfrmCalendar;

// Opens the calendar screen on this year, or brings it forward when open.
frmCalendar* showCalendarScreen();
