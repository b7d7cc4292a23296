#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

// Whether the copy of this program that ran as pid has ended: no such process, one only waiting to
// be reaped (its command line is empty), or by now another program under the same number.
bool copyHasEnded(qint64 pid);

// One running copy per data folder. The lock stands in the folder, where no environment can move
// it; a copy that crashed leaves a lock that the next start takes over. Beside the lock, the
// running copy listens on a local socket, so that a second start can ask it to come forward
// before it ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Claim {
        Taken,       // this is the running copy
        HeldByOther, // another copy runs; it has been asked to come forward
        Unwritable,  // the folder cannot hold the lock
    };

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);

    Claim claim();

signals:
    // Another start of the program asked this copy to come forward.
    void comeForwardAsked();

private:
    QString m_socketPath;
    QLockFile m_lock;
    QLocalServer m_server;
};
