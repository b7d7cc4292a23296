#pragma once

#include "LegalRecords.h"

#include <QDate>
#include <QString>

#include <vector>

class Database;

// Reads and writes of the law's hours: the office's settings, each month's stored figures, and
// the stored clock times they are made from. Failures raise StoreError.

// The office's settings; the defaults, turned off, until they were saved.
LegalSettings loadLegalSettings(Database& db);
void saveLegalSettings(Database& db, const LegalSettings& settings);

// Inserts or replaces a month's figures, inside the caller's unit of work when there is one.
void saveLegalMonth(Database& db, const QString& staffCd, const StoredLegalMonth& month);
// The member's stored figures of the months from one to another ("yyyymm", both included), oldest
// first.
std::vector<StoredLegalMonth> loadLegalMonths(Database& db, const QString& staffCd,
                                              const QString& fromMonth, const QString& toMonth);

// The member's stored clock times from one day to another, in date order, each date once (the
// later month's where two hold it).
std::vector<LegalDay> loadLegalDays(Database& db, const QString& staffCd, const QDate& from,
                                    const QDate& to);

// The member's stored periods of the months from one to another: month, first and last day.
struct StoredPeriod {
    QString syoriDt;
    QDate kikanSt;
    QDate kikanEn;
};
std::vector<StoredPeriod> loadPeriods(Database& db, const QString& staffCd,
                                      const QString& fromMonth, const QString& toMonth);

// The payroll file's named layouts, each as its stored text, by name.
struct StoredLayout {
    QString name;
    QString text;
};
std::vector<StoredLayout> loadPayrollLayouts(Database& db);
void savePayrollLayout(Database& db, const StoredLayout& layout);
void deletePayrollLayout(Database& db, const QString& name);
