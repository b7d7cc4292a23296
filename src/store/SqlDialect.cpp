#include "SqlDialect.h"

#include "Database.h"
#include "Schema.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>

#include <algorithm>

namespace {

// The server keeps the schema's version in a table of one row; the file in its header.
const QString kVersionTable = QStringLiteral("nubira_schema");

std::vector<CatalogueEntry> readCatalogue(Database& db, const QString& sql)
{
    std::vector<CatalogueEntry> entries;
    Rows rows = db.query(sql);
    while (rows.next())
        entries.push_back({rows.text(0), rows.text(1), rows.text(2), rows.text(3)});
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The type the server's catalogue gives a column declared so in the file's schema.
QString serverType(const QString& declared, bool integerKey)
{
    if (integerKey)
        return QStringLiteral("bigint");
    if (declared == QLatin1String("REAL"))
        return QStringLiteral("double precision");
    return declared.toLower();
}

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
            .arg(SqlDialect::kServerWaitSeconds);
    return {};
}

} // namespace

bool SqlDialect::endsConnection(const QSqlError& error)
{
    const QString state = error.nativeErrorCode();
    return state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P"));
}

QString SqlDialect::connectFailure(const ServerConnection& server, const QString& reason)
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

QString SqlDialect::failureMessage(const QSqlError& error) const
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text = QStringLiteral("不明なデータベースエラー");
    QString advice;
    if (m_engine == Engine::SQLite) {
        bool numeric = false;
        const int code = error.nativeErrorCode().toInt(&numeric);
        advice = numeric ? failureAdvice(code) : QString();
    } else {
        advice = serverFailureAdvice(error.nativeErrorCode());
    }
    // The engine's own words follow, for whoever looks into it.
    return advice.isEmpty() ? text.trimmed() : advice + u'\n' + text.trimmed();
}

QString SqlDialect::schemaStatement(const QString& statement) const
{
    if (m_engine == Engine::SQLite)
        return statement;
    QString server = statement;
    // Texts compare code point by code point, as in the file, whatever the server's locale: the
    // staff stepping and the ranges of codes and months depend on it.
    static const QRegularExpression text(QStringLiteral("\\bTEXT\\b"));
    static const QRegularExpression real(QStringLiteral("\\bREAL\\b"));
    static const QRegularExpression key(QStringLiteral("\\bINTEGER PRIMARY KEY\\b"));
    static const QRegularExpression noRowid(QStringLiteral("\\s*WITHOUT ROWID\\s*$"));
    server.replace(text, QStringLiteral("TEXT COLLATE \"C\""));
    server.replace(real, QStringLiteral("DOUBLE PRECISION"));
    server.replace(key, QStringLiteral("BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    server.remove(noRowid);
    return server;
}

std::vector<CatalogueEntry> SqlDialect::catalogue(Database& db) const
{
    if (m_engine == Engine::SQLite)
        return readCatalogue(db,
                             QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master"));
    return readCatalogue(
        db,
        QStringLiteral("SELECT 'column', lower(table_name), lower(column_name), data_type "
                       "FROM information_schema.columns "
                       "WHERE table_schema = current_schema() AND table_name <> '%1' "
                       "UNION ALL SELECT 'trigger', trigger_name, event_object_table, '' "
                       "FROM information_schema.triggers WHERE trigger_schema = current_schema() "
                       "UNION ALL SELECT 'rule', rulename, tablename, '' FROM pg_rules "
                       "WHERE schemaname = current_schema()")
            .arg(kVersionTable));
}

std::vector<CatalogueEntry> SqlDialect::expectedCatalogue(Database& built) const
{
    if (m_engine == Engine::SQLite)
        return catalogue(built);
    std::vector<CatalogueEntry> entries;
    Rows rows = built.query(QStringLiteral(
        "SELECT m.name, p.name, p.type, p.pk = 1 AND "
        "(SELECT count(*) FROM pragma_table_info(m.name) WHERE pk > 0) = 1 AND p.type = 'INTEGER' "
        "FROM sqlite_master AS m JOIN pragma_table_info(m.name) AS p "
        "WHERE m.type IN ('table', 'view')"));
    while (rows.next()) {
        entries.push_back({QStringLiteral("column"), rows.text(0).toLower(), rows.text(1).toLower(),
                           serverType(rows.text(2), rows.value(3).toInt() != 0)});
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

int SqlDialect::schemaVersion(Database& db) const
{
    if (m_engine == Engine::SQLite) {
        Rows rows = db.query(QStringLiteral("PRAGMA user_version"));
        return rows.next() ? rows.value(0).toInt() : 0;
    }
    {
        Rows found = db.query(QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                             "WHERE table_schema = current_schema() AND "
                                             "table_name = ?"),
                              {kVersionTable});
        if (!found.next() || found.value(0).toInt() == 0)
            return 0;
    }
    Rows rows = db.query(QStringLiteral("SELECT max(version) FROM ") + kVersionTable);
    return rows.next() ? rows.value(0).toInt() : 0;
}

void SqlDialect::prepareSchemaVersion(Database& db) const
{
    if (m_engine == Engine::SQLite)
        return;
    db.execute(QStringLiteral("CREATE TABLE %1 (version INTEGER NOT NULL)").arg(kVersionTable));
    db.execute(QStringLiteral("INSERT INTO %1 (version) VALUES (0)").arg(kVersionTable));
}

void SqlDialect::setSchemaVersion(Database& db, int version) const
{
    if (m_engine == Engine::SQLite) {
        // A pragma takes no bound parameter; the number is ours.
        db.execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
        return;
    }
    db.execute(QStringLiteral("UPDATE %1 SET version = ?").arg(kVersionTable), {version});
}

void SqlDialect::lockSchema(Database& db) const
{
    // The file is the program's alone (one running copy); clerks on a server start together.
    if (m_engine == Engine::PostgreSQL)
        db.query(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {qint64(0x6e756269)}).next();
}

QString SqlDialect::beginUnit(const QString& savepoint, bool outermost) const
{
    // The file takes a savepoint outside any transaction as its beginning; the server does not.
    if (outermost && m_engine == Engine::PostgreSQL)
        return QStringLiteral("BEGIN");
    return QStringLiteral("SAVEPOINT ") + savepoint;
}

QString SqlDialect::commitUnit(const QString& savepoint, bool outermost) const
{
    if (outermost && m_engine == Engine::PostgreSQL)
        return QStringLiteral("COMMIT");
    return QStringLiteral("RELEASE ") + savepoint;
}

QString SqlDialect::rollbackUnit(const QString& savepoint, bool outermost) const
{
    if (outermost)
        return QStringLiteral("ROLLBACK");
    return QStringLiteral("ROLLBACK TO ") + savepoint;
}

QString SqlDialect::leadingInteger(const QString& expression) const
{
    if (m_engine == Engine::SQLite)
        return QStringLiteral("CAST(%1 AS INTEGER)").arg(expression);
    return QStringLiteral(
               "COALESCE(CAST(substring(%1 FROM '^\\s*([+-]?[0-9]{1,9})') AS INTEGER), 0)")
        .arg(expression);
}

QString SqlDialect::unindexed(const QString& column) const
{
    // "+" keeps the file's planner from the column's index; the server plans by its statistics.
    return m_engine == Engine::SQLite ? u'+' + column : column;
}

QString SqlDialect::sharedRowLock() const
{
    return m_engine == Engine::SQLite ? QString() : QStringLiteral(" FOR SHARE");
}

QString SqlDialect::caseBlindLike() const
{
    return m_engine == Engine::SQLite ? QStringLiteral("LIKE") : QStringLiteral("ILIKE");
}

void SqlDialect::takeSnapshot(Database& db) const
{
    // A read unit of the file sees one state already; the server's sees each statement's own.
    if (m_engine == Engine::PostgreSQL)
        db.execute(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
}

void SqlDialect::holdTablesForWriting(Database& db) const
{
    if (m_engine == Engine::SQLite)
        return;
    QStringList tables;
    for (const ProgramTable& table : programTables())
        tables << table.name;
    db.execute(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tables.join(u',')));
}

void SqlDialect::afterCopy(Database& db) const
{
    if (m_engine == Engine::SQLite)
        return;
    db.query(QStringLiteral("SELECT setval(pg_get_serial_sequence('kyhenkourireki', 'rirekino'), "
                            "COALESCE(max(rirekiNo), 0) + 1, false) FROM KYHENKOURIREKI"))
        .next();
}
