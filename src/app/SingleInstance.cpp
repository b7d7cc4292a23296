#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSysInfo>

bool copyHasEnded(qint64 pid)
{
    QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!commandLine.open(QIODevice::ReadOnly))
        return true;
    const QByteArray program = commandLine.readAll().split('\0').value(0);
    return program.isEmpty() || QFileInfo(QString::fromLocal8Bit(program)).fileName() !=
                                    QCoreApplication::applicationName();
}

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_socketPath(QDir(folder).filePath(QStringLiteral("nubira.socket")))
    , m_lock(QDir(folder).filePath(QStringLiteral("nubira.lock")))
{
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* knock = m_server.nextPendingConnection()) {
            knock->disconnectFromServer();
            knock->deleteLater();
            emit comeForwardAsked();
        }
    });
}

SingleInstance::Claim SingleInstance::claim()
{
    if (m_lock.tryLock(0)) {
        // The lock is ours, so a socket file left there is a crashed copy's.
        QLocalServer::removeServer(m_socketPath);
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(m_socketPath); // without it, a second start only ends
        return Claim::Taken;
    }
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::Unwritable;
    QLocalSocket knock;
    knock.connectToServer(m_socketPath);
    if (knock.waitForConnected(1000)) {
        knock.waitForDisconnected(1000);
        return Claim::HeldByOther;
    }
    // No copy answers: a crashed copy's lock that the folder does not let us remove is no other
    // copy running.
    qint64 pid = 0;
    QString host, application;
    if (m_lock.getLockInfo(&pid, &host, &application) && host == QSysInfo::machineHostName() &&
        application == QCoreApplication::applicationName() && copyHasEnded(pid))
        return Claim::Unwritable;
    return Claim::HeldByOther;
}
