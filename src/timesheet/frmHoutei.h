#pragma once

#include "LegalRecords.h"
#include "WorkScreen.h"

#include <QPointer>

class ListField;
class NumberField;
class QCheckBox;

// The office's settings for the law's hours: whether they are kept, the week, the legal day off
// and the break, and the overtime agreement's year and limits. The sheet's figures stay as they
// are whatever is set here.
class frmHoutei : public WorkScreen {
    Q_OBJECT

public:
    explicit frmHoutei(QWidget* parent = nullptr);

private:
    void showSettings(const LegalSettings& settings);
    LegalSettings shown() const;
    void cmd_button_Click(int index);

    QCheckBox* m_enabled;
    ListField* m_weekStart;
    ListField* m_legalHoliday;
    ListField* m_breakRule;
    ListField* m_firstMonth;
    NumberField* m_monthlyLimit;
    NumberField* m_yearlyLimit;
    QCheckBox* m_specialClause;
    NumberField* m_specialYearlyLimit;
    LegalSettings m_settings;
};

extern QPointer<frmHoutei> gfrmHoutei;

// Opens the settings, or brings them forward when open.
frmHoutei* showLegalSettingsScreen();
