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
