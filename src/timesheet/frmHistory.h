#pragma once

#include "MonthLog.h"
#include "Records.h"
#include "WorkScreen.h"

#include <QPointer>

class QTreeWidget;

// The history of one member's month, newest first, which can be printed.
class frmHistory : public WorkScreen {
    Q_OBJECT

public:
    explicit frmHistory(const MonthHeader& month, QWidget* parent = nullptr);

private:
    QString title() const;
    // Makes each row as tall as its change takes, wrapped at the change column's width.
    void fitRows();
    void cmd_button_Click(int index);

    MonthHeader m_month;
    std::vector<HistoryEntry> m_history;
    QTreeWidget* m_list;
};

extern QPointer<frmHistory> gfrmHistory;

// Opens the history of the month, replacing the one shown.
frmHistory* showHistoryScreen(const MonthHeader& month);
