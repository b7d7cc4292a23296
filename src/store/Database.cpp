#include "Database.h"

#include "PgStatement.h"
#include "SqliteStatement.h"
#include "StoreError.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <utility>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

const QString kConnectionLost =
    QStringLiteral("サーバーとの接続が切れました。実行中の処理はサーバーに書き込まれていません"
                   "（月のデータは変更前のまま、混ざることはありません）。"
                   "ネットワークとサーバーを確認してから、もう一度実行してください。");

} // namespace

QString dateText(const QDate& date)
{
    if (!date.isValid())
        throw StoreError(QStringLiteral("日付が正しくありません。"));
    return date.toString(Qt::ISODate);
}

Database::Database(const QString& path)
    : m_dialect(Engine::SQLite)
    , m_path(path)
    , m_connectionName(QStringLiteral("nubira-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
{
    const QFileInfo info(path);
    if (path != QLatin1String(kInMemory) && !info.isFile())
        throw StoreError(QStringLiteral("データベースファイルが見つかりません: %1").arg(path));
    open();
}

Database::Database(const ServerConnection& server)
    : m_dialect(Engine::PostgreSQL)
    , m_server(server)
    , m_connectionName(QStringLiteral("nubira-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw StoreError(QStringLiteral("PostgreSQL に接続する部品（libqt6sql6-psql）が"
                                        "インストールされていません。"));
    open();
}

void Database::open()
{
    if (engine() == Engine::SQLite) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_db.setDatabaseName(m_path);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        m_db.setHostName(m_server.host);
        m_db.setPort(m_server.port);
        m_db.setDatabaseName(m_server.database);
        m_db.setUserName(m_server.user);
        if (!m_server.password.isEmpty())
            m_db.setPassword(m_server.password);
        // No wait for another clerk's or job's lock, nor any statement, lasts without end.
        QString options =
            QStringLiteral("connect_timeout=5;application_name=nubira;options='-c lock_timeout=%1s "
                           "-c statement_timeout=%1s';sslmode=%2")
                .arg(SqlDialect::kServerWaitSeconds)
                .arg(m_server.effectiveSslMode());
        if (!m_server.rootCertificate.isEmpty())
            options += QStringLiteral(";sslrootcert='%1'")
                           .arg(QString(m_server.rootCertificate)
                                    .replace(u'\\', QLatin1String("\\\\"))
                                    .replace(u'\'', QLatin1String("\\'")));
        m_db.setConnectOptions(options);
    }
    if (!m_db.open()) {
        const QSqlError error = m_db.lastError();
        close();
        if (engine() == Engine::PostgreSQL)
            throw StoreError(SqlDialect::connectFailure(m_server, error.databaseText()));
        throw StoreError(m_dialect.failureMessage(error));
    }
    if (engine() == Engine::PostgreSQL) {
        // Qt names the handle's type after the structure behind libpq's PGconn.
        const QVariant handle = m_db.driver()->handle();
        m_session = std::make_unique<PgSession>();
        if (handle.isValid() && qstrcmp(handle.typeName(), "pg_conn*") == 0)
            m_session->connection = *static_cast<PGconn* const*>(handle.constData());
        if (!m_session->connection) {
            close();
            throw StoreError(SqlDialect::connectFailure(m_server, QString()));
        }
        return;
    }
    // A database file may come from outside (a restored backup): its schema is never trusted
    // to call functions with side effects, and nothing may write the schema behind the engine.
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_engine = *static_cast<sqlite3* const*>(handle.constData());
    if (!m_engine) {
        close();
        throw StoreError(QStringLiteral("%1: SQLite の接続が得られません。").arg(m_path));
    }
    sqlite3_db_config(m_engine, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // SQLite opens any file lazily; reading the schema tells whether it is a database at all.
    try {
        execute(QStringLiteral("PRAGMA trusted_schema = OFF"));
        Rows probe = query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        probe.next();
    } catch (const StoreError& error) {
        close();
        throw StoreError(QStringLiteral("%1: %2").arg(m_path, error.message()));
    }
}

std::unique_ptr<Database> Database::openAnother() const
{
    if (engine() == Engine::SQLite)
        return std::make_unique<Database>(m_path);
    return std::make_unique<Database>(m_server);
}

void Database::release()
{
    if (m_db.isValid())
        m_db.driver()->moveToThread(nullptr);
}

void Database::takeOver()
{
    // Qt lets a thread take an object that belongs to no thread.
    if (m_db.isValid())
        m_db.driver()->moveToThread(QThread::currentThread());
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (!m_db.isValid())
        return;
    m_statements.clear();
    m_engine = nullptr;
    m_session.reset();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::isConnectionLost() const
{
    if (engine() != Engine::PostgreSQL || !m_db.isValid())
        return false;
    if (!m_db.isOpen())
        return true;
    return !m_session || PQstatus(m_session->connection) == CONNECTION_BAD;
}

void Database::reconnectIfLost()
{
    if (m_savepointDepth > 0 || !(m_lost || isConnectionLost()))
        return;
    close();
    m_lost = true;
    open(); // while the server stays out of reach, each command says so
    m_lost = false;
}

void Database::fail(const QSqlError& error)
{
    if (isConnectionLost() || SqlDialect::endsConnection(error)) {
        m_lost = true; // made again before the next statement outside a unit
        throw StoreError(kConnectionLost + u'\n' + error.databaseText().trimmed());
    }
    throw StoreError(m_dialect.failureMessage(error));
}

Statement& Database::run(const QString& sql, const QVariantList& values)
{
    if (!m_db.isValid() && !m_lost)
        throw StoreError(QStringLiteral("データベースが閉じられています。"));
    if (m_db.isValid() && m_db.driver()->thread() != QThread::currentThread())
        throw StoreError(QStringLiteral("データベースへの接続は、ほかの処理が使っています。"
                                        "その処理が終わってから、もう一度実行してください。"));
    reconnectIfLost();
    Statement* statement = attempt(sql, values);
    // A server that dropped an idle connection is reached again at once, where running the
    // statement twice cannot do anything twice: a read, or the beginning of a unit of work.
    const bool repeatable =
        sql.startsWith(QLatin1String("SELECT")) || sql == m_dialect.beginUnit(QString(), true);
    if (!statement && m_savepointDepth == 0 && repeatable &&
        (isConnectionLost() || SqlDialect::endsConnection(m_lastError))) {
        m_lost = true;
        reconnectIfLost();
        statement = attempt(sql, values);
    }
    if (!statement)
        fail(m_lastError);
    return *statement;
}

std::unique_ptr<Statement> Database::newStatement(const QVariantList& values)
{
    if (m_engine)
        return std::make_unique<SqliteStatement>(m_engine);
    // The server prepares only reads and writes of rows; the rest (units of work, the schema)
    // carries no values and runs as it is.
    return std::make_unique<PgStatement>(*m_session, !values.isEmpty());
}

Statement* Database::attempt(const QString& sql, const QVariantList& values)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        std::unique_ptr<Statement> statement = newStatement(values);
        if (!statement->prepare(sql)) {
            m_lastError = statement->lastError();
            return nullptr;
        }
        found = m_statements.emplace(sql, std::move(statement)).first;
    }
    Statement& statement = *found->second;
    if (!statement.exec(values)) {
        m_lastError = statement.lastError();
        statement.finish();
        return nullptr;
    }
    return &statement;
}

Rows Database::query(const QString& sql, const QVariantList& values)
{
    return Rows(run(sql, values), engine());
}

int Database::execute(const QString& sql, const QVariantList& values)
{
    Statement& statement = run(sql, values);
    const int changed = statement.rowsChanged();
    statement.finish();
    return changed;
}

Rows::Rows(Statement& statement, Engine engine)
    : m_statement(&statement)
    , m_engine(engine)
{
}

Rows::Rows(Rows&& other) noexcept
    : m_statement(std::exchange(other.m_statement, nullptr))
    , m_engine(other.m_engine)
{
}

Rows::~Rows()
{
    // Ending the statement releases the engine's read lock at once.
    if (m_statement)
        m_statement->finish();
}

bool Rows::next()
{
    if (m_statement->next())
        return true;
    if (m_statement->lastError().isValid())
        throw StoreError(SqlDialect(m_engine).failureMessage(m_statement->lastError()));
    return false;
}

int Rows::column(const QString& name) const
{
    const int index = m_statement->columnIndex(name);
    if (index < 0)
        throw StoreError(QStringLiteral("項目 %1 がありません。").arg(name));
    return index;
}

QVariant Rows::value(int column) const
{
    return m_statement->value(column);
}

QString Rows::text(int column) const
{
    return m_statement->text(column);
}

double Rows::real(int column) const
{
    bool ok = false;
    const double number = m_statement->real(column, ok);
    if (!ok)
        throw StoreError(
            QStringLiteral("項目 %1 が数値ではありません。").arg(m_statement->columnName(column)));
    return number;
}

QDate Rows::date(int column) const
{
    const QString text = m_statement->text(column);
    // "yyyy-mm-dd", read directly: dates are read for every day row.
    const auto digits = [&text](int from, int count) {
        int number = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            number = number * 10 + (c - u'0');
        }
        return number;
    };
    QDate day;
    if (text.size() == 10 && text.at(4) == u'-' && text.at(7) == u'-') {
        const int year = digits(0, 4);
        const int month = digits(5, 2);
        const int dayOfMonth = digits(8, 2);
        if (year > 0 && month > 0 && dayOfMonth > 0)
            day = QDate(year, month, dayOfMonth);
    }
    if (!day.isValid())
        throw StoreError(
            QStringLiteral("項目 %1 が日付ではありません。").arg(m_statement->columnName(column)));
    return day;
}

Transaction::Transaction(Database& db)
    : m_db(db)
    , m_savepoint(QStringLiteral("nubira_%1").arg(db.m_savepointDepth + 1))
    , m_outermost(db.m_savepointDepth == 0)
{
    m_db.execute(m_db.dialect().beginUnit(m_savepoint, m_outermost));
    ++m_db.m_savepointDepth;
}

Transaction::~Transaction()
{
    if (m_finished)
        return;
    --m_db.m_savepointDepth;
    try {
        m_db.execute(m_db.dialect().rollbackUnit(m_savepoint, m_outermost));
        if (!m_outermost)
            m_db.execute(m_db.dialect().commitUnit(m_savepoint, false));
    } catch (const StoreError&) {
        // The engine has already ended the transaction (it does so on some failures).
    }
}

void Transaction::commit()
{
    m_db.execute(m_db.dialect().commitUnit(m_savepoint, m_outermost));
    --m_db.m_savepointDepth;
    m_finished = true;
}

Snapshot::Snapshot(Database& db)
    : m_unit(db)
{
    if (db.m_savepointDepth == 1)
        db.dialect().takeSnapshot(db);
}
