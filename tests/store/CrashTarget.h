#pragma once

#include <QDate>
#include <QString>

// The month that generation g of the crash test's saver rewrites: five staff, three months of
// different lengths.
struct CrashTarget {
    static constexpr int kStaff = 5;
    static constexpr int kMonths = 3;

    QString staffCd;
    int monthIndex = 0;

    static CrashTarget of(int g)
    {
        return {QStringLiteral("%1").arg(g % kStaff + 1, 4, 10, QLatin1Char('0')),
                g / kStaff % kMonths};
    }
    QDate first() const { return QDate(2024, 1, 1).addMonths(monthIndex); }
    QDate last() const { return first().addDays(days() - 1); }
    int days() const { return first().daysInMonth(); }
    QString month() const { return first().toString(QStringLiteral("yyyyMM")); }
};
