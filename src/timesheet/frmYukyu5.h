#pragma once

#include "WorkScreen.h"

#include <QDate>
#include <QPointer>

class ListField;
class QTreeWidget;

// The 5-day duty list (年5日取得状況): every member with a grant of 10 days or more that is good
// today, the grant and due dates, the days taken and still needed; a grant due within the
// warning months and short is marked, one past due and short is red. A row opens the member's
// ledger.
class frmYukyu5 : public WorkScreen {
    Q_OBJECT

public:
    explicit frmYukyu5(const QDate& today, QWidget* parent = nullptr);

private:
    void showList();
    void cmd_button_Click(int index);

    QDate m_today;
    ListField* m_warningMonths;
    QTreeWidget* m_list;
};

extern QPointer<frmYukyu5> gfrmYukyu5;

// Opens the list, or brings it forward when open.
frmYukyu5* showFiveDayScreen();
