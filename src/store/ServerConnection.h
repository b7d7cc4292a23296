#pragma once

#include <QDir>
#include <QString>

// Where the program's database lives when the office keeps it on a PostgreSQL server. The
// password is never kept with it: libpq takes it from the user's password file (passwordFile()),
// or from what the clerk typed for this session.
struct ServerConnection {
    // A host name, an address, or a folder holding the server's socket; empty for the local
    // server's own socket.
    QString host;
    int port = 5432;
    QString database;
    QString user;
    // Encryption, as libpq's sslmode: "prefer", "require" or "verify-full" (the server's
    // certificate checked against rootCertificate, a file of the authority that signed it).
    // Empty for the default: prefer on this machine, require for any other host.
    QString sslMode = {};
    QString rootCertificate = {};
    QString password = {}; // typed for this session; never saved with the settings

    bool isThisMachine() const
    {
        return host.isEmpty() || host.startsWith(u'/') || host == QLatin1String("localhost") ||
               host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
    }
    QString effectiveSslMode() const
    {
        // Anything else (a settings file edited by hand) is no mode: the default holds.
        if (sslMode == QLatin1String("prefer") || sslMode == QLatin1String("require") ||
            sslMode == QLatin1String("verify-full"))
            return sslMode;
        return isThisMachine() ? QStringLiteral("prefer") : QStringLiteral("require");
    }

    // No database named: the program keeps its embedded file.
    bool isSet() const { return !database.isEmpty(); }
    // "host:port/database" as messages name it.
    QString caption() const
    {
        return QStringLiteral("%1:%2/%3")
            .arg(host.isEmpty() ? QStringLiteral("localhost") : host)
            .arg(port)
            .arg(database);
    }

    friend bool operator==(const ServerConnection&, const ServerConnection&) = default;
};

// libpq's password file: the one PGPASSFILE names, else ~/.pgpass.
inline QString passwordFile()
{
    const QString named = qEnvironmentVariable("PGPASSFILE");
    return named.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : named;
}
