#pragma once

#include <QDate>
#include <QString>

// The processing month and the period of days its sheet covers, as the month and period
// selection proposes and checks them.
struct PeriodChoice {
    QDate month; // its first day; only the year and month count
    QDate first;
    QDate last;
};

// The previous month of today and its first and last day.
PeriodChoice defaultPeriod(const QDate& today);

// Why a period cannot be used, or empty text when it runs forwards over at most 31 days.
QString periodRefusal(const QDate& first, const QDate& last);

// The last day a month's attendance records must be kept by law (労働基準法 第109条, for now 3
// years by 附則 第143条): counted from the later of the period's end and the pay day, taken to be
// the end of the month after the period's.
QDate recordsKeptUntil(const QDate& periodEnd);
