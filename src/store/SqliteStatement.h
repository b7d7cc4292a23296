#pragma once

#include "Statement.h"

struct sqlite3;
struct sqlite3_stmt;

// A statement run on the SQLite engine's own interface, beside the Qt SQL connection that opened
// the file: rows are read column by column as the caller asks, with texts taken as the engine
// keeps them (UTF-8), not every column of every row copied first.
class SqliteStatement final : public Statement {
public:
    explicit SqliteStatement(sqlite3* db);
    ~SqliteStatement() override;

    bool prepare(const QString& sql) override;
    bool exec(const QVariantList& values) override;
    bool next() override;
    void finish() override;
    int rowsChanged() const override { return m_changed; }
    QSqlError lastError() const override { return m_error; }

    int columnIndex(const QString& name) const override;
    QString columnName(int column) const override;
    QVariant value(int column) const override;
    bool isNull(int column) const override;
    QString text(int column) const override;
    double real(int column, bool& ok) const override;

private:
    bool bind(const QVariantList& values);
    // Steps once; false on a failure, kept in m_error.
    bool step();
    void keepFailure(int code, const char* what);

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_hasRow = false;     // the step has a row
    bool m_rowPending = false; // exec() stepped onto the first row, which next() has not given yet
    int m_changed = 0;
    QSqlError m_error;
};
