#include "ReportFormat.h"

#include <QLocale>

#include <unicode/udat.h>
#include <unicode/ustring.h>

#include <memory>

QString formatNumber(double value, const QString& pattern)
{
    const qsizetype point = pattern.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(pattern.size() - point - 1);
    const bool grouped = pattern.contains(u',');
    QLocale locale(QLocale::English, QLocale::UnitedStates);
    locale.setNumberOptions(grouped ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

namespace {

// The pattern in ICU's letters: G era, y year of era, M month, d day; the rest quoted.
QString icuPattern(const QString& pattern)
{
    QString out;
    QString literal;
    const auto flushLiteral = [&] {
        if (!literal.isEmpty())
            out += u'\'' + literal.replace(u'\'', QLatin1String("''")) + u'\'';
        literal.clear();
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        QString token;
        switch (c.unicode()) {
        case u'g':
            token = run >= 2 ? QStringLiteral("GGGG") : QStringLiteral("GGGGG");
            break;
        case u'e':
            token = run >= 2 ? QStringLiteral("yy") : QStringLiteral("y");
            break;
        case u'm':
            token = run >= 2 ? QStringLiteral("MM") : QStringLiteral("M");
            break;
        case u'd':
            token = run >= 2 ? QStringLiteral("dd") : QStringLiteral("d");
            break;
        default:
            literal += QString(run, c);
            i += run;
            continue;
        }
        flushLiteral();
        out += token;
        i += run;
    }
    flushLiteral();
    return out;
}

struct FormatCloser {
    void operator()(UDateFormat* format) const { udat_close(format); }
};

} // namespace

QString formatEraDate(const QDate& date, const QString& pattern)
{
    if (!date.isValid())
        return {};
    const QString icu = icuPattern(pattern);
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UDateFormat, FormatCloser> format(
        udat_open(UDAT_PATTERN, UDAT_PATTERN, "ja_JP@calendar=japanese", u"GMT", -1,
                  reinterpret_cast<const UChar*>(icu.utf16()), int32_t(icu.size()), &status));
    if (U_FAILURE(status))
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    // Noon of the day in GMT, so that no time zone moves it to another day.
    const UDate when = double(QDateTime(date, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch());
    UChar buffer[128];
    const int32_t length = udat_format(format.get(), when, buffer, 128, nullptr, &status);
    if (U_FAILURE(status))
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), length);
}

QString formatValue(const QVariant& value, const QString& format)
{
    if (format.isEmpty() || !value.isValid() || value.isNull())
        return value.toString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return formatNumber(value.toDouble(), format);
    case QMetaType::QDate:
        return formatEraDate(value.toDate(), format);
    default:
        return value.toString();
    }
}
