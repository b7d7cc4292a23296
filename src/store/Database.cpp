#include "Database.h"

#include "PgStatement.h"
#include "SqliteStatement.h"
#include "StoreError.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <algorithm>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// How long a statement on the server may wait for a lock, or run, before it is given up.
constexpr int kServerWaitSeconds = 15;

const QString kConnectionLost =
    QStringLiteral("サーバーとの接続が切れました。実行中の処理はサーバーに書き込まれていません"
                   "（月のデータは変更前のまま、混ざることはありません）。"
                   "ネットワークとサーバーを確認してから、もう一度実行してください。");

// What a failure of the engine means for the clerk and what to do about it, by the engine's
// primary result code; empty for failures that only the program's own faults cause.
QString failureAdvice(int code)
{
    switch (code & 0xff) {
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        return QStringLiteral("データベースファイルを使う権限がありません。"
                              "ファイルとフォルダの権限を確認してください。");
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("データベースが他のプログラムに使用されています。"
                              "他のプログラムを終了してから、もう一度実行してください。");
    case 8: // SQLITE_READONLY
        return QStringLiteral("データベースファイルが読み取り専用のため書き込めません。"
                              "ファイルとフォルダに書き込みの権限があるか確認してください。");
    case 10: // SQLITE_IOERR
        return QStringLiteral("ディスクの読み書きに失敗しました。"
                              "ディスクの状態と空き容量を確認してください。");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("データベースファイルが壊れています。"
                              "バックアップファイルから復元してください。");
    case 13: // SQLITE_FULL
        return QStringLiteral("ディスクの空き容量が足りないため書き込めません。"
                              "不要なファイルを削除してから、もう一度実行してください。");
    case 14: // SQLITE_CANTOPEN
        return QStringLiteral("データベースファイルまたはそのフォルダを開けません。"
                              "フォルダがあり、書き込みの権限があるか確認してください。");
    default:
        return {};
    }
}

// The same for the server, by the class of the SQLSTATE the server reports.
QString serverFailureAdvice(const QString& state)
{
    const QString category = state.left(2);
    if (state == QLatin1String("42501"))
        return QStringLiteral("サーバーのデータベースを使う権限がありません。"
                              "サーバーの管理者に権限を確認してください。");
    if (category == QLatin1String("53"))
        return QStringLiteral("サーバーの空き容量または資源が足りないため書き込めません。"
                              "サーバーの管理者に連絡してください。");
    if (category == QLatin1String("40"))
        return QStringLiteral("他の担当者の処理と重なったため実行できませんでした。"
                              "もう一度実行してください。");
    // The lock or statement timeout set for every connection ran out.
    if (state == QLatin1String("55P03") || state == QLatin1String("57014"))
        return QStringLiteral("ほかの担当者または処理がデータを使っているため、%1 秒待って取り止め"
                              "ました。何も書き込まれていません。しばらくしてから、もう一度実行"
                              "してください。")
            .arg(kServerWaitSeconds);
    return {};
}

// The server ended the connection (it shut down, or an administrator ended it) or the network
// dropped it.
bool endsConnection(const QSqlError& error)
{
    const QString state = error.nativeErrorCode();
    return state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"));
}

// Why a connection to the server failed, from libpq's words (English, or Japanese under a
// Japanese locale), with what to do; libpq gives no code for it.
QString serverConnectFailure(const ServerConnection& server, const QString& reason)
{
    const auto says = [&reason](std::initializer_list<const char*> words) {
        return std::any_of(words.begin(), words.end(), [&reason](const char* word) {
            return reason.contains(QString::fromUtf8(word), Qt::CaseInsensitive);
        });
    };
    QString advice;
    const QFileInfo passwords(passwordFile());
    // libpq passes over a password file that others may read, with a warning nobody sees.
    const bool passwordsShared =
        passwords.exists() && (passwords.permissions() & (QFile::ReadGroup | QFile::ReadOther |
                                                          QFile::WriteGroup | QFile::WriteOther));
    if (passwordsShared && says({"no password supplied", "パスワードが与えられて",
                                 "password authentication failed", "パスワード認証に失敗"}))
        advice = QStringLiteral("パスワードファイル %1 をほかの人も読めるため、PostgreSQL はそれを"
                                "使いません。本人だけが読めるようにしてください（chmod 600 %1）。")
                     .arg(passwords.filePath());
    else if (says({"too many clients", "too many connections", "remaining connection slots",
                   "クライアント数が多すぎます", "接続が多すぎます", "予約されて"}))
        advice = QStringLiteral("サーバー %1 への接続数が上限に達しています。ほかの担当者が"
                                "ヌビラを終えてから、もう一度実行してください。続くときは、"
                                "サーバーの管理者に接続数の上限（max_connections）を確認して"
                                "ください。")
                     .arg(server.caption());
    else if (says({"password authentication failed", "パスワード認証に失敗", "no password supplied",
                   "パスワードが与えられて"}))
        advice = QStringLiteral("パスワードが違うか、ありません。接続先設定でパスワードを入力して"
                                "保存するか、パスワードファイル（~/.pgpass）に書いてください。");
    else if (says({"database \"", "データベース\""}) && says({"does not exist", "存在しません"}))
        advice = QStringLiteral("データベース %1 がサーバーにありません。"
                                "接続先設定のデータベース名を確認してください。")
                     .arg(server.database);
    else if (says({"role \"", "ロール\""}) && says({"does not exist", "存在しません"}))
        advice = QStringLiteral("ユーザー %1 がサーバーにありません。"
                                "接続先設定のユーザー名を確認してください。")
                     .arg(server.user);
    else if (says({"SSL was required", "does not support SSL", "SSLをサポートしていません",
                   "certificate", "証明書"}))
        advice =
            QStringLiteral("サーバー %1 と暗号化（TLS）した接続ができません。サーバーの管理者に"
                           "TLS の設定と証明書を確認してください。接続先設定の暗号化も確認"
                           "してください。")
                .arg(server.caption());
    else if (says({"authentication", "認証", "pg_hba.conf"}))
        advice = QStringLiteral("サーバーがこのユーザーの接続を認めていません。"
                                "サーバーの管理者に確認してください。");
    else
        advice = QStringLiteral("サーバー %1 に届きません。ホスト名とポート番号、ネットワーク、"
                                "サーバーが動いているかを確認してください。")
                     .arg(server.caption());
    return advice + u'\n' + reason.trimmed();
}

QString engineMessage(const QSqlError& error, Engine engine)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text = QStringLiteral("不明なデータベースエラー");
    QString advice;
    if (engine == Engine::SQLite) {
        bool numeric = false;
        const int code = error.nativeErrorCode().toInt(&numeric);
        advice = numeric ? failureAdvice(code) : QString();
    } else {
        advice = serverFailureAdvice(error.nativeErrorCode());
    }
    // The engine's own words follow, for whoever looks into it.
    return advice.isEmpty() ? text.trimmed() : advice + u'\n' + text.trimmed();
}

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
                .arg(kServerWaitSeconds)
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
            throw StoreError(serverConnectFailure(m_server, error.databaseText()));
        throw StoreError(engineMessage(error, engine()));
    }
    if (engine() == Engine::PostgreSQL) {
        // Qt names the handle's type after the structure behind libpq's PGconn.
        const QVariant handle = m_db.driver()->handle();
        m_session = std::make_unique<PgSession>();
        if (handle.isValid() && qstrcmp(handle.typeName(), "pg_conn*") == 0)
            m_session->connection = *static_cast<PGconn* const*>(handle.constData());
        if (!m_session->connection) {
            close();
            throw StoreError(serverConnectFailure(m_server, QString()));
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
    if (isConnectionLost() || endsConnection(error)) {
        m_lost = true; // made again before the next statement outside a unit
        throw StoreError(kConnectionLost + u'\n' + error.databaseText().trimmed());
    }
    throw StoreError(engineMessage(error, engine()));
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
        (isConnectionLost() || endsConnection(m_lastError))) {
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
        throw StoreError(engineMessage(m_statement->lastError(), m_engine));
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
