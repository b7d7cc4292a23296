#pragma once

#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>

// One statement of a connection, prepared once and run again and again: Database keeps one per SQL
// text, and Rows read the current row through it. Each engine has its own, reading its rows the
// fastest way it can.
class Statement {
public:
    Statement() = default;
    virtual ~Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // False on failure, with the failure in lastError().
    virtual bool prepare(const QString& sql) = 0;
    // Binds the values by position and runs the statement; false on failure, after which the
    // caller reads lastError() and then calls finish().
    virtual bool exec(const QVariantList& values) = 0;
    // Moves to the next row, the first after exec(); false after the last, or on failure, which
    // then is in lastError().
    virtual bool next() = 0;
    // Ends the run: the engine lets go of what it holds for it, read locks included.
    virtual void finish() = 0;
    virtual int rowsChanged() const = 0;
    virtual QSqlError lastError() const = 0;

    // The column's position, or -1; names compare without regard to letter case.
    virtual int columnIndex(const QString& name) const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QVariant value(int column) const = 0;
    virtual bool isNull(int column) const { return value(column).isNull(); }
    // The column as text, empty when null.
    virtual QString text(int column) const;
    // The column as a number, 0 when null; ok is false when it holds no number.
    virtual double real(int column, bool& ok) const;
};

// A value as it is bound: dates become ISO text and null texts empty texts, so that nothing null
// reaches a NOT NULL column by accident.
QVariant boundValue(const QVariant& value);
