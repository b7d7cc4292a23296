#include "BackupFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString TimFileName(const QString& chosen)
{
    return chosen.endsWith(QLatin1String(".tim"), Qt::CaseSensitive)
               ? chosen
               : chosen + QLatin1String(".tim");
}

bool CopyWhole(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 kChunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kChunk);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            return false;
        if (target.write(chunk) != chunk.size())
            return false;
    }
    if (source.error() != QFileDevice::NoError)
        return false;
    return target.commit();
}

QString BackupPath(const QString& databasePath)
{
    return QFileInfo(databasePath).dir().filePath(QStringLiteral("data.bak"));
}

bool SetAsideLeftoverBackup(const QString& databasePath)
{
    const QString backup = BackupPath(databasePath);
    if (!QFileInfo::exists(backup))
        return true;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString aside =
        QFileInfo(databasePath).dir().filePath(QStringLiteral("data-%1.bak").arg(stamp));
    return QFile::rename(backup, aside);
}

bool RecoverInterruptedRestore(const QString& databasePath)
{
    const QString backup = BackupPath(databasePath);
    if (QFileInfo::exists(databasePath) || !QFileInfo::exists(backup))
        return false;
    return QFile::rename(backup, databasePath);
}
