#include "PgStatement.h"

#include <vector>

namespace {

// The type numbers of the server's built-in types (pg_type.oid) that are read as other than text.
constexpr Oid kBool = 16;
constexpr Oid kBytea = 17;
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;
constexpr Oid kOid = 26;
constexpr Oid kFloat4 = 700;
constexpr Oid kFloat8 = 701;
constexpr Oid kNumeric = 1700;

bool isNumber(Oid type)
{
    switch (type) {
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid:
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return true;
    default:
        return false;
    }
}

// The program's "?" marks as the server's $1, $2, ..., outside quoted texts and names.
QByteArray numberedParameters(const QByteArray& sql)
{
    QByteArray numbered;
    numbered.reserve(sql.size() + 16);
    char quote = 0;
    int count = 0;
    for (const char c : sql) {
        if (quote) {
            if (c == quote)
                quote = 0; // a doubled quote closes and opens again
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?') {
            numbered += '$' + QByteArray::number(++count);
            continue;
        }
        numbered += c;
    }
    return numbered;
}

QByteArray parameterText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0"; // taken by boolean and integer columns alike
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return value.toByteArray();
    default:
        return value.toString().toUtf8();
    }
}

} // namespace

PgStatement::PgStatement(PgSession& session, bool prepared)
    : m_session(session)
    , m_prepared(prepared)
{
}

PgStatement::~PgStatement()
{
    finish();
}

void PgStatement::keepFailure(const PGresult* result)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* message =
        result ? PQresultErrorMessage(result) : PQerrorMessage(m_session.connection);
    m_error = QSqlError(QStringLiteral("Unable to run statement"), QString::fromUtf8(message),
                        QSqlError::StatementError, QString::fromLatin1(state ? state : ""));
}

bool PgStatement::prepare(const QString& sql)
{
    m_sql = sql.toUtf8();
    if (!m_prepared)
        return true;
    if (m_session.streaming)
        m_session.streaming->makeWay();
    m_name = "nubira_" + QByteArray::number(++m_session.prepared);
    PGresult* result = PQprepare(m_session.connection, m_name.constData(),
                                 numberedParameters(m_sql).constData(), 0, nullptr);
    const bool prepared = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!prepared)
        keepFailure(result);
    PQclear(result);
    return prepared;
}

bool PgStatement::exec(const QVariantList& values)
{
    finish();
    m_error = QSqlError();
    m_changed = 0;
    if (m_session.streaming)
        m_session.streaming->makeWay();
    // The texts live until the values are sent; a null value is sent as no text at all.
    std::vector<QByteArray> texts(size_t(values.size()));
    std::vector<const char*> pointers(texts.size(), nullptr);
    std::vector<int> lengths(texts.size(), 0);
    std::vector<int> formats(texts.size(), 0);
    for (size_t i = 0; i < texts.size(); ++i) {
        const QVariant value = boundValue(values.at(qsizetype(i)));
        if (!value.isValid() || value.isNull())
            continue;
        texts[i] = parameterText(value);
        pointers[i] = texts[i].constData();
        lengths[i] = int(texts[i].size());
        formats[i] = value.typeId() == QMetaType::QByteArray ? 1 : 0; // bytes as they are
    }
    const int sent = m_prepared ? PQsendQueryPrepared(m_session.connection, m_name.constData(),
                                                      int(pointers.size()), pointers.data(),
                                                      lengths.data(), formats.data(), 0)
                                : PQsendQuery(m_session.connection, m_sql.constData());
    if (!sent) {
        keepFailure(nullptr);
        return false;
    }
    PQsetSingleRowMode(m_session.connection);
    m_session.streaming = this;
    const Fetched first = fetch();
    m_rowPending = first == Fetched::Row;
    return first != Fetched::Failed;
}

PgStatement::Fetched PgStatement::fetch()
{
    PQclear(m_row);
    m_row = nullptr;
    if (m_session.streaming != this)
        return Fetched::End;
    PGresult* result = PQgetResult(m_session.connection);
    switch (PQresultStatus(result)) {
    case PGRES_SINGLE_TUPLE:
        m_row = result;
        return Fetched::Row;
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        m_changed = QByteArray(PQcmdTuples(result)).toInt();
        m_end = result; // names the columns when there was no row
        return drain() ? Fetched::End : Fetched::Failed;
    default:
        keepFailure(result);
        PQclear(result);
        drain();
        return Fetched::Failed;
    }
}

bool PgStatement::drain()
{
    bool whole = true;
    while (PGresult* result = PQgetResult(m_session.connection)) {
        const ExecStatusType status = PQresultStatus(result);
        if (whole && status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK &&
            status != PGRES_COMMAND_OK) {
            keepFailure(result);
            whole = false;
        }
        PQclear(result);
    }
    m_session.streaming = nullptr;
    return whole;
}

bool PgStatement::next()
{
    if (m_rowPending) {
        m_rowPending = false;
        return true;
    }
    return fetch() == Fetched::Row;
}

void PgStatement::finish()
{
    PQclear(m_row);
    m_row = nullptr;
    PQclear(m_end);
    m_end = nullptr;
    m_rowPending = false;
    if (m_session.streaming == this)
        drain();
}

void PgStatement::makeWay()
{
    finish();
    m_error = QSqlError(QStringLiteral("Unable to fetch row"),
                        QStringLiteral("Query results lost: another statement ran meanwhile"),
                        QSqlError::StatementError);
}

int PgStatement::columnIndex(const QString& name) const
{
    const PGresult* columns = m_row ? m_row : m_end;
    for (int i = 0, count = columns ? PQnfields(columns) : 0; i < count; ++i) {
        if (name.compare(columnName(i), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString PgStatement::columnName(int column) const
{
    const PGresult* columns = m_row ? m_row : m_end;
    return columns ? QString::fromUtf8(PQfname(columns, column)) : QString();
}

bool PgStatement::isNull(int column) const
{
    return !m_row || PQgetisnull(m_row, 0, column);
}

QVariant PgStatement::value(int column) const
{
    if (isNull(column))
        return {};
    const char* text = PQgetvalue(m_row, 0, column);
    const QByteArray raw = QByteArray::fromRawData(text, PQgetlength(m_row, 0, column));
    switch (PQftype(m_row, column)) {
    case kBool:
        return raw == "t";
    case kInt8:
    case kInt2:
    case kInt4:
    case kOid:
        return raw.toLongLong();
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return raw.toDouble();
    case kBytea: {
        size_t length = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
        const QByteArray unescaped(reinterpret_cast<const char*>(bytes), qsizetype(length));
        PQfreemem(bytes);
        return unescaped;
    }
    default:
        return QString::fromUtf8(raw);
    }
}

QString PgStatement::text(int column) const
{
    if (isNull(column))
        return {};
    const Oid type = PQftype(m_row, column);
    if (type == kBool || type == kBytea || isNumber(type))
        return value(column).toString(); // as Qt writes the value: 8, not 8.0
    return QString::fromUtf8(PQgetvalue(m_row, 0, column), PQgetlength(m_row, 0, column));
}

double PgStatement::real(int column, bool& ok) const
{
    if (!isNull(column) && isNumber(PQftype(m_row, column))) {
        return QByteArray::fromRawData(PQgetvalue(m_row, 0, column), PQgetlength(m_row, 0, column))
            .toDouble(&ok);
    }
    return Statement::real(column, ok);
}
