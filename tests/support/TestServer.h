#pragma once

#include "ServerConnection.h"

#include <QString>

// A private PostgreSQL server for one test program: its own cluster in a temporary folder, reached
// only through a socket there, run as the postgres user when the tests run as root, and stopped
// when the program ends. Its superuser "nubira" is trusted without a password, except the role
// "clerk", which must give its password.
class TestServer {
public:
    // The program's server, started on first use; null when no PostgreSQL server binaries are
    // installed. A server that is installed but will not start ends the run.
    static TestServer* instance();

    // A new, empty database on the server.
    ServerConnection freshDatabase();
    // The folder of the server's socket, as a connection's host.
    QString socketFolder() const { return m_folder; }
    // Runs a statement on the server's maintenance database as the superuser.
    void runAsSuperuser(const QString& sql);

private:
    explicit TestServer(const QString& binaries);
    void stop();

    QString m_binaries;
    QString m_folder;
    int m_databases = 0;
};

// The store tests run once on an SQLite file and once on the private server: NUBIRA_TEST_ENGINE
// set to "server" picks the server. False when the server is asked for and cannot be had (no
// server binaries): the program then reports itself skipped.
bool prepareTestEngine();
// The engine the store tests run on.
bool testingOnServer();

// A test program's main for tests that run on both engines: it ends with 77, counted as skipped,
// where the server is asked for and not installed.
#define NUBIRA_TEST_MAIN_ON_ENGINES(TestObject)                                                    \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        QCoreApplication app(argc, argv);                                                          \
        if (!prepareTestEngine())                                                                  \
            return 77;                                                                             \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
