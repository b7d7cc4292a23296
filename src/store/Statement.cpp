#include "Statement.h"

#include "Database.h"

QString Statement::text(int column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

double Statement::real(int column, bool& ok) const
{
    const QVariant v = value(column);
    ok = true;
    return v.isNull() ? 0 : v.toDouble(&ok);
}

QVariant boundValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return dateText(value.toDate());
    case QMetaType::QString:
        if (value.toString().isNull())
            return QStringLiteral("");
        return value;
    default:
        return value;
    }
}
