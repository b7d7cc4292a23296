#include "Database.h"

#include "StoreError.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

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

QString engineMessage(const QSqlError& error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.isEmpty())
        text = QStringLiteral("不明なデータベースエラー");
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString advice = numeric ? failureAdvice(code) : QString();
    // The engine's own words follow, for whoever looks into it.
    return advice.isEmpty() ? text : advice + u'\n' + text;
}

// Dates become ISO text and null texts empty texts, so that nothing null reaches a NOT NULL
// column by accident.
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

} // namespace

QString dateText(const QDate& date)
{
    if (!date.isValid())
        throw StoreError(QStringLiteral("日付が正しくありません。"));
    return date.toString(Qt::ISODate);
}

Database::Database(const QString& path)
    : m_path(path)
    , m_connectionName(QStringLiteral("nubira-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
{
    const QFileInfo info(path);
    if (path != QLatin1String(kInMemory) && !info.isFile())
        throw StoreError(QStringLiteral("データベースファイルが見つかりません: %1").arg(path));

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!m_db.open()) {
        const QString message = engineMessage(m_db.lastError());
        close();
        throw StoreError(message);
    }
    // A database file may come from outside (a restored backup): its schema is never trusted
    // to call functions with side effects, and nothing may write the schema behind the engine.
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (sqlite3* engine = *static_cast<sqlite3* const*>(handle.constData()))
            sqlite3_db_config(engine, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    }
    // SQLite opens any file lazily; reading the schema tells whether it is a database at all.
    try {
        execute(QStringLiteral("PRAGMA trusted_schema = OFF"));
        Rows probe = query(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        probe.next();
    } catch (const StoreError& error) {
        close();
        throw StoreError(QStringLiteral("%1: %2").arg(path, error.message()));
    }
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
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlQuery& Database::run(const QString& sql, const QVariantList& values)
{
    if (!m_db.isValid())
        throw StoreError(QStringLiteral("データベースが閉じられています。"));

    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        auto statement = std::make_unique<QSqlQuery>(m_db);
        statement->setForwardOnly(true);
        if (!statement->prepare(sql))
            throw StoreError(engineMessage(statement->lastError()));
        found = m_statements.emplace(sql, std::move(statement)).first;
    }
    QSqlQuery& statement = *found->second;
    statement.finish();
    for (int i = 0; i < values.size(); ++i)
        statement.bindValue(i, boundValue(values.at(i)));
    if (!statement.exec()) {
        const QString message = engineMessage(statement.lastError());
        statement.finish();
        throw StoreError(message);
    }
    return statement;
}

Rows Database::query(const QString& sql, const QVariantList& values)
{
    return Rows(run(sql, values));
}

int Database::execute(const QString& sql, const QVariantList& values)
{
    QSqlQuery& statement = run(sql, values);
    const int changed = statement.numRowsAffected();
    statement.finish();
    return changed;
}

Rows::Rows(QSqlQuery& query)
    : m_query(&query)
{
}

Rows::Rows(Rows&& other) noexcept
    : m_query(std::exchange(other.m_query, nullptr))
{
}

Rows::~Rows()
{
    // Resetting the statement releases the engine's read lock at once.
    if (m_query)
        m_query->finish();
}

bool Rows::next()
{
    if (m_query->next())
        return true;
    if (m_query->lastError().isValid())
        throw StoreError(engineMessage(m_query->lastError()));
    return false;
}

int Rows::column(const QString& name) const
{
    const int index = m_query->record().indexOf(name);
    if (index < 0)
        throw StoreError(QStringLiteral("項目 %1 がありません。").arg(name));
    return index;
}

QVariant Rows::value(int column) const
{
    return m_query->value(column);
}

QString Rows::text(int column) const
{
    const QVariant v = m_query->value(column);
    return v.isNull() ? QString() : v.toString();
}

double Rows::real(int column) const
{
    const QVariant v = m_query->value(column);
    bool ok = false;
    const double number = v.isNull() ? 0 : v.toDouble(&ok);
    if (!ok)
        throw StoreError(QStringLiteral("項目 %1 が数値ではありません。")
                             .arg(m_query->record().fieldName(column)));
    return number;
}

QDate Rows::date(int column) const
{
    const QString text = m_query->value(column).toString();
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
        throw StoreError(QStringLiteral("項目 %1 が日付ではありません。")
                             .arg(m_query->record().fieldName(column)));
    return day;
}

Transaction::Transaction(Database& db)
    : m_db(db)
    , m_savepoint(QStringLiteral("nubira_%1").arg(db.m_savepointDepth + 1))
    , m_outermost(db.m_savepointDepth == 0)
{
    m_db.execute(QStringLiteral("SAVEPOINT ") + m_savepoint);
    ++m_db.m_savepointDepth;
}

Transaction::~Transaction()
{
    if (m_finished)
        return;
    --m_db.m_savepointDepth;
    try {
        if (m_outermost) {
            m_db.execute(QStringLiteral("ROLLBACK"));
        } else {
            m_db.execute(QStringLiteral("ROLLBACK TO ") + m_savepoint);
            m_db.execute(QStringLiteral("RELEASE ") + m_savepoint);
        }
    } catch (const StoreError&) {
        // The engine has already ended the transaction (it does so on some failures).
    }
}

void Transaction::commit()
{
    m_db.execute(QStringLiteral("RELEASE ") + m_savepoint);
    --m_db.m_savepointDepth;
    m_finished = true;
}
