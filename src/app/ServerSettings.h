#pragma once

#include "ServerConnection.h"

#include <QString>

// The choice of the database's home, kept in the user's settings file
// (~/.config/nubira/nubira.conf, group "server"): no database named there is the embedded file.
// The password never goes there; libpq reads it from ~/.pgpass (or PGPASSFILE).
ServerConnection loadServerConnection();
void saveServerConnection(const ServerConnection& server);

// Keeps the typed password of a connection in libpq's password file, made or kept its owner's
// alone (0600), in place of the connection's line there. Raises StoreError when it cannot.
void savePassword(const ServerConnection& server);

// Why the connection cannot be kept as typed, or empty text when it can.
QString connectionRefusal(const ServerConnection& server);

// Connects to the server as start-up would and says what it found, in Japanese: what failed and
// what to do, or what the program will do with the database there.
struct ConnectionTest {
    bool ok = false;
    QString message;
};
ConnectionTest testConnection(const ServerConnection& server);
