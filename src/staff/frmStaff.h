#pragma once

#include "StaffEditor.h"
#include "WorkScreen.h"

#include <QPointer>

class DateField;
class ListField;
class NumberField;
class QCheckBox;
class QPushButton;
class TextField;

// The staff registration screen: a staff member is looked up by code, then saved or deleted.
// It closes itself when another window of the program becomes active.
class frmStaff : public WorkScreen {
    Q_OBJECT

public:
    explicit frmStaff(QWidget* parent = nullptr);

private:
    void txt_staffCd_Validate();
    void cmd_button_Click(int index);
    void save();
    void remove();
    void Data_Clear();
    void Data_Disp();
    void showConditions(const MemberConditions& conditions);
    MemberConditions shownConditions() const;

    StaffEditor m_editor;
    TextField* m_code;
    TextField* m_name;
    TextField* m_reading;
    // The working conditions, after the record's fields.
    QCheckBox* m_hired;
    DateField* m_nyusyaDt;
    QCheckBox* m_left;
    DateField* m_taisyokuDt;
    ListField* m_syuNissu;
    NumberField* m_syuJikan;
    NumberField* m_hiJikan;
};

extern QPointer<frmStaff> gfrmStaff;

// Opens the staff registration screen, or brings it forward when open.
frmStaff* showStaffScreen();
