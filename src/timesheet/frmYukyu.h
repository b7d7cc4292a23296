#pragma once

#include "MemberLeave.h"
#include "WorkScreen.h"

#include <QPointer>

class DateField;
class NumberField;
class QLabel;
class QTreeWidget;
class TextField;

// The paid-leave ledger (年次有給休暇管理簿) of one member at a time: a line a grant year, the
// balance on a day, the clerk's word on grants whose period before is not on file, opening
// balances, and the ledger printed and exported as CSV.
class frmYukyu : public WorkScreen {
    Q_OBJECT

public:
    explicit frmYukyu(const QDate& today, QWidget* parent = nullptr);

    // Shows the member of the code, as of the day in the screen's date field.
    void showMember(const QString& code);
    const MemberLeave& leave() const { return m_leave; }

private:
    void txt_staffCd_Validate();
    void cmd_button_Click(int index);
    void showLedger();
    // The grant year chosen in the list, or none.
    const LeaveYear* chosenYear() const;
    void decideGrant();
    void saveOpening();
    void removeEntry();
    void exportCsv();

    MemberLeave m_leave;
    TextField* m_staffCd;
    QLabel* m_staffNm;
    DateField* m_asOf;
    QLabel* m_conditions;
    QTreeWidget* m_list;
    QLabel* m_balance;
    DateField* m_openingDt;
    NumberField* m_openingGranted;
    NumberField* m_openingLeft;
};

extern QPointer<frmYukyu> gfrmYukyu;

// Opens the ledger screen, or brings it forward when open; with a code, on that member.
frmYukyu* showLeaveLedgerScreen(const QString& code = {});
