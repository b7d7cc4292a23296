#include "Period.h"

PeriodChoice defaultPeriod(const QDate& today)
{
    const QDate previous = today.addMonths(-1);
    const QDate first(previous.year(), previous.month(), 1);
    const QDate last = QDate(today.year(), today.month(), 1).addDays(-1);
    return {first, first, last};
}

QString periodRefusal(const QDate& first, const QDate& last)
{
    const qint64 d = first.daysTo(last);
    if (d < 0)
        return QStringLiteral("対象期間の相関関係が不正です");
    if (d > 30)
        return QStringLiteral("対象期間は1ヶ月以内で入力してください。");
    return {};
}

QDate recordsKeptUntil(const QDate& periodEnd)
{
    const QDate nextMonth = periodEnd.addMonths(1);
    const QDate payDay(nextMonth.year(), nextMonth.month(), nextMonth.daysInMonth());
    return payDay.addYears(3);
}
