#include "SqliteStatement.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(sqlite3* db)
    : m_db(db)
{
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::keepFailure(int code, const char* what)
{
    m_error = QSqlError(QString::fromLatin1(what), QString::fromUtf8(sqlite3_errmsg(m_db)),
                        QSqlError::StatementError, QString::number(code));
}

bool SqliteStatement::prepare(const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    const char* rest = nullptr;
    const int code = sqlite3_prepare_v3(m_db, text.constData(), int(text.size()),
                                        SQLITE_PREPARE_PERSISTENT, &m_statement, &rest);
    if (code != SQLITE_OK) {
        keepFailure(code, "Unable to prepare statement");
        return false;
    }
    // One statement to a text, as the program writes them; a second would silently not run.
    for (; rest && *rest; ++rest) {
        if (!QChar::isSpace(uchar(*rest)) && *rest != ';') {
            keepFailure(SQLITE_MISUSE, "Unable to execute multiple statements at a time");
            return false;
        }
    }
    return true;
}

bool SqliteStatement::bind(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant value = boundValue(values.at(i));
        const int position = i + 1;
        int code = SQLITE_OK;
        switch (value.typeId()) {
        case QMetaType::UnknownType:
        case QMetaType::Nullptr:
            code = sqlite3_bind_null(m_statement, position);
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            code = sqlite3_bind_int64(m_statement, position, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            code = sqlite3_bind_double(m_statement, position, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            code = sqlite3_bind_blob64(m_statement, position, bytes.constData(),
                                       sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            code = sqlite3_bind_text64(m_statement, position, text.constData(),
                                       sqlite3_uint64(text.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
        if (code != SQLITE_OK) {
            keepFailure(code, "Unable to bind parameters");
            return false;
        }
    }
    return true;
}

bool SqliteStatement::step()
{
    const int code = sqlite3_step(m_statement);
    m_hasRow = code == SQLITE_ROW;
    if (code == SQLITE_ROW || code == SQLITE_DONE)
        return true;
    keepFailure(code, "Unable to fetch row");
    return false;
}

bool SqliteStatement::exec(const QVariantList& values)
{
    finish();
    m_error = QSqlError();
    if (!m_statement) // a text of blanks
        return true;
    if (values.size() != sqlite3_bind_parameter_count(m_statement)) {
        keepFailure(SQLITE_RANGE, "Parameter count mismatch");
        return false;
    }
    if (!bind(values) || !step())
        return false;
    m_rowPending = m_hasRow;
    m_changed = sqlite3_changes(m_db);
    return true;
}

bool SqliteStatement::next()
{
    if (!m_statement)
        return false;
    if (m_rowPending) {
        m_rowPending = false;
        return true;
    }
    return m_hasRow && step() && m_hasRow;
}

void SqliteStatement::finish()
{
    if (m_statement)
        sqlite3_reset(m_statement);
    m_hasRow = false;
    m_rowPending = false;
}

int SqliteStatement::columnIndex(const QString& name) const
{
    for (int i = 0, count = sqlite3_column_count(m_statement); i < count; ++i) {
        if (name.compare(columnName(i), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_statement, column);
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
        return QByteArray(bytes, sqlite3_column_bytes(m_statement, column));
    }
    default:
        return text(column);
    }
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

QString SqliteStatement::text(int column) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
    }
    case SQLITE_NULL:
        return {};
    default: // numbers read as Qt writes them: 8, not 8.0
        return value(column).toString();
    }
}

double SqliteStatement::real(int column, bool& ok) const
{
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        ok = true;
        return sqlite3_column_double(m_statement, column);
    default:
        return Statement::real(column, ok);
    }
}
