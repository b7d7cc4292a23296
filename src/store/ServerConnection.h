#pragma once

#include <QString>

// Where the program's database lives when the office keeps it on a PostgreSQL server. The
// password is never kept here: libpq takes it from the user's ~/.pgpass (or PGPASSFILE).
struct ServerConnection {
    // A host name, an address, or a folder holding the server's socket; empty for the local
    // server's own socket.
    QString host;
    int port = 5432;
    QString database;
    QString user;

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
