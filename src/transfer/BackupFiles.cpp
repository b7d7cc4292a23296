#include "BackupFiles.h"

#include "WholeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString timFileName(const QString& chosen)
{
    return chosen.endsWith(QLatin1String(".tim"), Qt::CaseSensitive)
               ? chosen
               : chosen + QLatin1String(".tim");
}

bool copyWhole(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    return writeWholeFile(
        to,
        [&source](QIODevice& target) {
            constexpr qint64 kChunk = 1 << 20;
            while (!source.atEnd()) {
                const QByteArray chunk = source.read(kChunk);
                if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
                    return false;
                if (target.write(chunk) != chunk.size())
                    return false;
            }
            return source.error() == QFileDevice::NoError;
        },
        error);
}

QString backupPath(const QString& database)
{
    return QFileInfo(database).dir().filePath(QStringLiteral("data.bak"));
}

bool setAsideLeftoverBackup(const QString& database)
{
    const QString backup = backupPath(database);
    if (!QFileInfo::exists(backup))
        return true;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString aside =
        QFileInfo(database).dir().filePath(QStringLiteral("data-%1.bak").arg(stamp));
    return QFile::rename(backup, aside);
}

bool recoverInterruptedRestore(const QString& database)
{
    const QString backup = backupPath(database);
    if (QFileInfo::exists(database) || !QFileInfo::exists(backup))
        return false;
    return QFile::rename(backup, database);
}
