#pragma once

#include "ServerConnection.h"

#include <QString>

#include <tuple>
#include <vector>

class Database;
class QSqlError;

// The two homes of the program's data: the embedded file, and an office's PostgreSQL server.
enum class Engine { SQLite, PostgreSQL };

// One object of a database's catalogue, as the schema check compares them.
struct CatalogueEntry {
    QString type;
    QString name;
    QString table;
    QString definition;
    friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
    friend bool operator<(const CatalogueEntry& a, const CatalogueEntry& b)
    {
        return std::tie(a.type, a.name, a.table, a.definition) <
               std::tie(b.type, b.name, b.table, b.definition);
    }
};

// Everything in which the SQL of the two engines differs. Every other statement of the store is
// written once and runs on both. The schema is written once too, in SQLite's terms, and turned
// into the server's here.
class SqlDialect {
public:
    explicit SqlDialect(Engine engine)
        : m_engine(engine)
    {
    }

    Engine engine() const { return m_engine; }

    // How long a statement on the server may wait for a lock, or run, before it is given up.
    static constexpr int kServerWaitSeconds = 15;
    // A failure of the engine as the clerk reads it: what it means and what to do (for the
    // failures the engine reports by code), then the engine's own words.
    QString failureMessage(const QSqlError& error) const;
    // The server ended the connection (it shut down, or an administrator ended it) or the
    // network dropped it.
    static bool endsConnection(const QSqlError& error);
    // Why a connection to the server failed, from libpq's words (English, or Japanese under a
    // Japanese locale), with what to do; libpq gives no code for it.
    static QString connectFailure(const ServerConnection& server, const QString& reason);

    // A statement of the program's schema in this engine's terms.
    QString schemaStatement(const QString& statement) const;

    // What the schema check compares, in a stable order: the file's sqlite_master rows; the
    // server's tables' and views' columns with their types, and any trigger or rule.
    std::vector<CatalogueEntry> catalogue(Database& db) const;
    // The catalogue this engine holds for the schema built (in SQLite terms) in `built`.
    std::vector<CatalogueEntry> expectedCatalogue(Database& built) const;

    // The version of the schema the database records; 0 for an unnumbered file or an empty
    // server database.
    int schemaVersion(Database& db) const;
    // Gives a database that records no version a place for it, inside the caller's unit.
    void prepareSchemaVersion(Database& db) const;
    void setSchemaVersion(Database& db, int version) const;
    // Keeps other start-ups out of the schema until the caller's unit of work ends.
    void lockSchema(Database& db) const;

    // A unit of work: the outermost begins a transaction, the inner ones a savepoint.
    QString beginUnit(const QString& savepoint, bool outermost) const;
    QString commitUnit(const QString& savepoint, bool outermost) const;
    QString rollbackUnit(const QString& savepoint, bool outermost) const;

    // The integer that the leading digits of a text spell ("2x" is 2, "" is 0), as the rules read
    // a class.
    QString leadingInteger(const QString& expression) const;
    // A column compared without the help of its index.
    QString unindexed(const QString& column) const;
    // What a SELECT of one row ends in to hold the row against other clerks' changes until the
    // caller's unit of work ends (the file's write lock holds everything already).
    QString sharedRowLock() const;
    // The pattern match that ignores the case of Latin letters.
    QString caseBlindLike() const;

    // Makes the caller's outermost unit of work, just begun, read one consistent state of the
    // whole database.
    void takeSnapshot(Database& db) const;
    // Holds every table of the program against other clerks' writes (reads go on) until the
    // caller's unit of work ends; the file's writer holds everything already.
    void holdTablesForWriting(Database& db) const;
    // After rows were copied in with their own numbers, numbering goes on after the highest.
    void afterCopy(Database& db) const;

private:
    Engine m_engine;
};
