#include "DatabaseCopy.h"

#include "Database.h"
#include "Schema.h"
#include "StoreError.h"

#include <QFile>
#include <QStringList>

void copyAllRows(Database& from, Database& to)
{
    Snapshot reading(from);
    Transaction writing(to);
    for (const ProgramTable& table : programTables()) {
        const QString columns = table.columns.join(QStringLiteral(", "));
        QStringList marks;
        marks.fill(QStringLiteral("?"), table.columns.size());
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table.name, columns, marks.join(QStringLiteral(", ")));
        to.execute(QStringLiteral("DELETE FROM ") + table.name);
        Rows rows = from.query(QStringLiteral("SELECT %1 FROM %2").arg(columns, table.name));
        QVariantList values;
        while (rows.next()) {
            values.clear();
            for (int i = 0; i < table.columns.size(); ++i) {
                // A null stays null; the store's binding would make a null text empty.
                const QVariant value = rows.value(i);
                values.append(value.isNull() ? QVariant() : value);
            }
            to.execute(insert, values);
        }
    }
    to.dialect().afterCopy(to);
    writing.commit();
    reading.end();
}

void exportToFile(Database& from, const QString& path)
{
    createDatabase(path);
    try {
        const std::unique_ptr<Database> file = openDatabase(path);
        copyAllRows(from, *file);
    } catch (const StoreError&) {
        QFile::remove(path);
        throw;
    }
}
