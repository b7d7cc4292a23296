#pragma once

#include "Statement.h"

#include <QByteArray>

#include <libpq-fe.h>

class PgStatement;

// What the statements of one server connection share: the connection, and the statement whose
// rows are still arriving on it, which has to make way before another statement runs.
struct PgSession {
    PGconn* connection = nullptr;
    PgStatement* streaming = nullptr;
    int prepared = 0; // statements prepared so far, which name the next
};

// A statement run on libpq, beside the Qt SQL connection that opened the session: prepared once
// on the server with its values sent as parameters, and its rows read one by one as they arrive,
// so that a whole table is never held at once.
class PgStatement final : public Statement {
public:
    // A statement that is not prepared runs as its text: units of work and the schema.
    PgStatement(PgSession& session, bool prepared);
    ~PgStatement() override;

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

    // Reads and drops the rest of the rows: another statement is about to run.
    void makeWay();

private:
    enum class Fetched { Row, End, Failed };
    Fetched fetch();
    // Reads the rest of the results; false when one of them is a failure, which is kept.
    bool drain();
    void keepFailure(const PGresult* result);

    PgSession& m_session;
    bool m_prepared;
    QByteArray m_name;
    QByteArray m_sql;
    PGresult* m_row = nullptr;
    PGresult* m_end = nullptr; // the result that ended the rows
    bool m_rowPending = false; // exec() read the first row, which next() has not given yet
    int m_changed = 0;
    QSqlError m_error;
};
