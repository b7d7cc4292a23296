#include "TestServer.h"

#include "Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <memory>

namespace {

std::unique_ptr<TestServer> gServer;
bool gOnServer = false;

// The server of Debian 12, as the install script installs it.
const QString kBinaries = QStringLiteral("/usr/lib/postgresql/15/bin");

// The server refuses to run as root: it then runs as postgres, in a folder of its own.
const passwd* serverAccount()
{
    return getuid() == 0 ? getpwnam("postgres") : nullptr;
}

void runTool(const QString& program, const QStringList& arguments)
{
    QStringList command{program};
    command += arguments;
    if (const passwd* account = serverAccount())
        command = QStringList{QStringLiteral("runuser"), QStringLiteral("-u"),
                              QString::fromLocal8Bit(account->pw_name), QStringLiteral("--")} +
                  command;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.takeFirst(), command);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAll().constData());
}

} // namespace

TestServer* TestServer::instance()
{
    if (!gServer) {
        if (!QFile::exists(kBinaries + QStringLiteral("/initdb")))
            return nullptr;
        gServer.reset(new TestServer(kBinaries));
        qAddPostRoutine([] {
            gServer->stop();
            gServer.reset();
        });
    }
    return gServer.get();
}

TestServer::TestServer(const QString& binaries)
    : m_binaries(binaries)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/nubira-pg-%1").arg(getpid());
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder))
        qFatal("cannot make %s", qPrintable(folder));
    if (const passwd* account = serverAccount()) {
        if (chown(QFile::encodeName(folder).constData(), account->pw_uid, account->pw_gid) != 0)
            qFatal("cannot hand %s to postgres", qPrintable(folder));
    }
    m_folder = folder;
    const QString data = folder + QStringLiteral("/data");
    QFile hba(folder + QStringLiteral("/hba.conf"));
    if (!hba.open(QIODevice::WriteOnly) ||
        hba.write("local all clerk scram-sha-256\nlocal all all trust\n") < 0)
        qFatal("cannot write the server's access rules");
    hba.close();
    hba.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    runTool(m_binaries + QStringLiteral("/initdb"),
            {QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("nubira"),
             QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
             QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
             QStringLiteral("--no-sync")});
    runTool(m_binaries + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), data, QStringLiteral("-l"), folder + QStringLiteral("/log"),
             QStringLiteral("-w"), QStringLiteral("-o"),
             QStringLiteral("-k %1 -c listen_addresses= -c fsync=off -c hba_file=%1/hba.conf")
                 .arg(folder),
             QStringLiteral("start")});
    runAsSuperuser(QStringLiteral("CREATE ROLE clerk LOGIN PASSWORD 'right'"));
}

void TestServer::stop()
{
    runTool(m_binaries + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_folder + QStringLiteral("/data"), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("stop")});
    QDir(m_folder).removeRecursively();
}

void TestServer::runAsSuperuser(const QString& sql)
{
    Database maintenance(
        ServerConnection{m_folder, 5432, QStringLiteral("postgres"), QStringLiteral("nubira")});
    maintenance.execute(sql);
}

ServerConnection TestServer::freshDatabase()
{
    const QString name = QStringLiteral("nubira_%1").arg(++m_databases);
    runAsSuperuser(QStringLiteral("CREATE DATABASE %1").arg(name));
    return {m_folder, 5432, name, QStringLiteral("nubira")};
}

bool prepareTestEngine()
{
    gOnServer = qEnvironmentVariable("NUBIRA_TEST_ENGINE") == QLatin1String("server");
    if (gOnServer && !TestServer::instance()) {
        fprintf(stderr, "NOTICE: no PostgreSQL server binaries installed (postgresql-15): the "
                        "server cases are skipped.\n");
        return false;
    }
    return true;
}

bool testingOnServer()
{
    return gOnServer;
}
