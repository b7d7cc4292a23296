#pragma once

#include "ServerConnection.h"
#include "SqlDialect.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <map>
#include <memory>

class Rows;
class Statement;
struct PgSession;
struct sqlite3;

// One open connection to the program's database: an SQLite file, or a database on a PostgreSQL
// server. Qt SQL opens and closes it; statements run on the engine's own interface (sqlite3,
// libpq), prepared once per SQL text and kept for the life of the connection, and values always
// travel as bound parameters. Every failure raises StoreError with the engine's message.
//
// Not copyable: the object owns its Qt SQL connection, named after itself, so several
// databases can be open at once. A connection belongs to one thread at a time: the one that
// opened it, or the one it was handed to with release() and takeOver().
class Database {
public:
    // The path of a private database that lives in memory for the life of the object.
    static constexpr const char* kInMemory = ":memory:";

    // Opens an existing file; a missing file or one that is not an SQLite database fails.
    explicit Database(const QString& path);
    // Connects to a server database; the password comes from libpq's password file.
    explicit Database(const ServerConnection& server);
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Engine engine() const { return m_dialect.engine(); }
    const SqlDialect& dialect() const { return m_dialect; }
    // The file, empty on a server; the server, unset for a file.
    QString path() const { return m_path; }
    const ServerConnection& server() const { return m_server; }
    // The file's path or the server's caption, as messages name the database.
    QString location() const { return engine() == Engine::SQLite ? m_path : m_server.caption(); }
    // A further connection to the same database.
    std::unique_ptr<Database> openAnother() const;
    // Hands the connection over: after release() no thread may use it until one calls
    // takeOver(), which makes it that thread's own. The session and its prepared statements
    // stay: they are the engine's, used by one thread at a time.
    void release();
    void takeOver();
    bool isOpen() const { return m_db.isValid() || m_lost; }
    // The Qt SQL connection behind this database, for tools that need the engine itself.
    QString connectionName() const { return m_connectionName; }

    // Releases the file so that it can be copied or replaced. Further use raises StoreError.
    void close();

    // Runs a statement that yields rows. The Rows must be consumed or dropped before the same
    // SQL text is run again on this database.
    Rows query(const QString& sql, const QVariantList& values = {});
    // Runs a statement that yields no rows and returns the number of rows it changed.
    int execute(const QString& sql, const QVariantList& values = {});

private:
    friend class Transaction;
    friend class Snapshot;

    Statement& run(const QString& sql, const QVariantList& values);
    // Prepares (once) and runs the statement; null on failure, with the failure kept.
    Statement* attempt(const QString& sql, const QVariantList& values);
    std::unique_ptr<Statement> newStatement(const QVariantList& values);
    void open();
    // A server connection lost between units of work is made again before the next statement.
    void reconnectIfLost();
    bool isConnectionLost() const;
    [[noreturn]] void fail(const QSqlError& error);

    SqlDialect m_dialect;
    QString m_path;
    ServerConnection m_server;
    QString m_connectionName;
    QSqlDatabase m_db;
    // The engine's own handles, which statements use directly: the file's, null on a server, and
    // the server's session, null on a file.
    sqlite3* m_engine = nullptr;
    std::unique_ptr<PgSession> m_session;
    std::map<QString, std::unique_ptr<Statement>> m_statements;
    int m_savepointDepth = 0;
    bool m_lost = false;
    QSqlError m_lastError;
};

// The result rows of Database::query, read forward. Fields are read by position or by name;
// names compare without regard to letter case.
class Rows {
public:
    Rows(Statement& statement, Engine engine);
    ~Rows();
    Rows(Rows&& other) noexcept;
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;
    Rows& operator=(Rows&&) = delete;

    // Moves to the next row (the first on the first call); false after the last.
    bool next();

    int column(const QString& name) const;
    QVariant value(int column) const;
    QVariant value(const QString& name) const { return value(column(name)); }

    // Typed reads of the current row. A null text reads as empty text; a null number or date,
    // or a date that is not "yyyy-mm-dd", raises StoreError.
    QString text(int column) const;
    double real(int column) const;
    QDate date(int column) const;

private:
    Statement* m_statement;
    Engine m_engine;
};

// A unit of work on one database: everything done between construction and commit() takes
// effect together, or not at all when the object is destroyed without commit(). Units nest;
// only the outermost commits to the file.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    QString m_savepoint;
    bool m_outermost;
    bool m_finished = false;
};

// A unit of work that only reads and sees one consistent state of the whole database, whatever
// other clerks save meanwhile: a month's header, rows and revision are read together. Inside
// another unit it reads what that unit sees.
class Snapshot {
public:
    explicit Snapshot(Database& db);
    void end() { m_unit.commit(); }

private:
    Transaction m_unit;
};

// Date values are stored as ISO text "yyyy-mm-dd"; an invalid date raises StoreError.
QString dateText(const QDate& date);
