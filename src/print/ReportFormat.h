#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Output formats of the report engine.

// A number in a pattern such as "#,##0.00": the digits after the point fix the decimals, a ","
// groups thousands, "0" before the point keeps a leading zero.
QString formatNumber(double value, const QString& pattern);

// A date in the Japanese era calendar, in a pattern of era ("ggg" full name, "g" initial), year
// of era ("e", "ee" two digits), month ("m", "mm") and day ("d", "dd"); other characters are
// kept. "ggge年m月d日" gives 令和8年12月6日. The eras come from ICU's calendar data.
QString formatEraDate(const QDate& date, const QString& pattern);

// A field's value in an output format: numbers through formatNumber, dates through
// formatEraDate; text, and any value without a format, as it is.
QString formatValue(const QVariant& value, const QString& format);
