#pragma once

#include "LegalTime.h"
#include "Records.h"

#include <span>
#include <vector>

class Database;

// The law's hours of the month on display, beside the sheet's and never changing them: the
// month's figures as the clerk types, and where the month stands against the overtime agreement
// with the member's months before it. Months before without stored figures, or with figures made
// under other settings, are made from their stored days when loaded. Storage failures raise
// StoreError.
class MonthLegal {
public:
    // Reads what the month's figures need besides its own rows: the settings, the stored days of
    // the period's first week before it, and the months before it of the agreement's runs.
    void load(Database& db, const MonthHeader& h);

    const LegalSettings& settings() const { return m_settings; }
    bool isEnabled() const { return m_settings.enabled; }
    // The month's figures from its rows as they stand.
    LegalMonth figures(std::span<const DayRow> rows) const;
    // Where the month with these figures stands against the agreement.
    AgreementCheck check(const LegalMonth& month) const;
    // The figures to store with the month when it is saved.
    StoredLegalMonth stored(std::span<const DayRow> rows) const;

private:
    LegalSettings m_settings;
    QString m_syoriDt;
    std::vector<LegalDay> m_earlier;
    std::vector<AgreementMonth> m_before; // consecutive, oldest first, up to the month before
};

// The member's figures of the months from one to another, consecutive and oldest first, as the
// agreement takes them: stored figures made under the settings, else made from the stored days
// (and handed to made, when given, to be stored); a month without a stored period is a month of
// nothing.
std::vector<AgreementMonth> agreementMonths(Database& db, const QString& staffCd,
                                            const QString& fromMonth, const QString& toMonth,
                                            const LegalSettings& settings,
                                            std::vector<StoredLegalMonth>* made = nullptr);

// A stored month's figures: as stored when made under the settings, else made from its days.
LegalMonth monthFigures(Database& db, const QString& staffCd, const QString& syoriDt,
                        const QDate& kikanSt, const QDate& kikanEn, const LegalSettings& settings);

// The figures of a stored period, made from its stored days.
LegalMonth legalMonthOf(Database& db, const QString& staffCd, const QDate& kikanSt,
                        const QDate& kikanEn, const LegalRules& rules);

// A member's agreement year on the monitor (36協定 一覧): the year's twelve months with where each
// stands, the year's overtime, the worst average of every run of 2 to 6 months that ends in the
// year (the runs reach into the year before), and the months over the monthly limit.
struct MonitorRow {
    QString staffCd;
    QString staffNm;
    std::vector<AgreementMonth> months; // the twelve months of the year
    std::vector<AgreementCheck> checks; // of each month
    int yearOvertime = 0;
    int worstAverage = 0;
    int monthsOver = 0;
};
// Every member still here at the year's start, by code, for the agreement year that starts in
// the settings' first month of firstYear. With the law's hours on, the figures made from stored
// days are stored, so that the year is read, not made, the next time.
std::vector<MonitorRow> loadAgreementMonitor(Database& db, int firstYear,
                                             const LegalSettings& settings);
// The agreement year that holds a day: the year of its first month.
int agreementYearOf(const QDate& day, const AgreementRules& rules);

// Minutes as the clerk reads hours: "160:05".
QString minutesText(int minutes);
// An agreement state as the clerk reads it: "正常", "注意", "警告", "超過".
QString agreementStateText(AgreementState state);
