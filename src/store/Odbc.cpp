#include "Odbc.h"

#include "Database.h"

#include <QDir>

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>

#include <array>

namespace {

// The database file attribute of the SQLite 3 ODBC driver.
const char kDatabaseKey[] = "Database";
const char kOdbcIni[] = "odbc.ini";

bool writeAttribute(const QByteArray& dsn, const QByteArray& key, const QByteArray& value)
{
    return SQLWritePrivateProfileString(dsn.constData(), key.constData(), value.constData(),
                                        kOdbcIni);
}

} // namespace

bool ODBC::IsDsn(const QString& DSN)
{
    QList<DataSource> sources;
    OdbcDsnList(sources);
    const QString wanted = DSN.toUpper();
    for (const DataSource& source : sources) {
        if (source.name.toUpper() == wanted)
            return true;
    }
    return false;
}

int ODBC::OdbcDsnList(QList<DataSource>& retDataSources)
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return 0;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    retDataSources.clear();

    std::array<SQLCHAR, 256> name{};
    std::array<SQLCHAR, 256> description{};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (SQL_SUCCEEDED(SQLDataSources(env, direction, name.data(), SQLSMALLINT(name.size()),
                                        &nameLength, description.data(),
                                        SQLSMALLINT(description.size()), &descriptionLength))) {
        const auto text = [](const std::array<SQLCHAR, 256>& buffer, SQLSMALLINT length) {
            const qsizetype size = std::min<qsizetype>(length, qsizetype(buffer.size()) - 1);
            return QString::fromUtf8(reinterpret_cast<const char*>(buffer.data()), size);
        };
        retDataSources.append({text(name, nameLength), text(description, descriptionLength)});
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return int(retDataSources.size());
}

bool ODBC::OdbcNewDsn(const QString& DriverText, const QString& DsnName, const QString& Description,
                      const QString& /*ServerName*/, const QString& DataBase,
                      const QString& EtcWord)
{
    // The SQLite driver has no set-up routine of its own, so the installer writes the entry
    // directly: driver first, then each attribute.
    const QByteArray dsn = DsnName.toUtf8();
    if (!SQLSetConfigMode(ODBC_USER_DSN))
        return false;
    bool ok = SQLWriteDSNToIni(dsn.constData(), DriverText.toUtf8().constData()) &&
              writeAttribute(dsn, "Description", Description.toUtf8()) &&
              writeAttribute(dsn, kDatabaseKey, DataBase.toUtf8());
    for (const QString& attribute : EtcWord.split(QChar(0), Qt::SkipEmptyParts)) {
        const qsizetype equals = attribute.indexOf(u'=');
        if (!ok || equals <= 0)
            break;
        ok = writeAttribute(dsn, attribute.left(equals).toUtf8(),
                            attribute.mid(equals + 1).toUtf8());
    }
    SQLSetConfigMode(ODBC_BOTH_DSN);
    return ok;
}

QString userDataSourceFile()
{
    const QString named = qEnvironmentVariable("ODBCINI");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral(".odbc.ini")) : named;
}

bool registerProgramDataSource(const Database& db)
{
    const QString name = QStringLiteral("HOJ");
    const QString description = QStringLiteral("カデマ");
    if (db.engine() == Engine::SQLite)
        return ODBC::OdbcNewDsn(QStringLiteral("SQLite3"), name, description,
                                QStringLiteral("(Local)"), db.path());
    // The password stays in libpq's password file, which the driver reads as the program does.
    const ServerConnection& server = db.server();
    const QChar end(0);
    const QString attributes = QStringLiteral("Servername=") + server.host + end +
                               QStringLiteral("Port=") + QString::number(server.port) + end +
                               QStringLiteral("Username=") + server.user + end +
                               QStringLiteral("SSLmode=") + server.effectiveSslMode() + end;
    return ODBC::OdbcNewDsn(QStringLiteral("PostgreSQL Unicode"), name, description, server.host,
                            server.database, attributes);
}
